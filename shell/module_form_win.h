#pragma once
// A module's form declared once, as data: its dialog template (res/forms.rc, one layout for
// every language), the string-table text of each control, the resize anchors and the report
// title. The module view base applies it (CQnFormView).
#include <windows.h>

#include <span>
#include <vector>

#include "shell/form_anchors.h"

struct FormText {
    int controlId;
    unsigned textId;
};

struct ModuleForm {
    UINT templateId = 0;
    std::span<const FormText> texts;
    std::span<const ControlAnchor> anchors;
    unsigned reportTitleId = 0; // 0: the product name and version
};

// Puts the text of every listed control, in the current language, into the control.
void ApplyControlTexts(HWND form, std::span<const FormText> texts);

// The resize layout: each anchored control's place at the form's first size, and where it
// goes when the form is resized.
class CFormLayout {
public:
    void Capture(HWND form, std::span<const ControlAnchor> anchors);
    void Apply(int width, int height) const;

private:
    struct Placed {
        int controlId;
        unsigned edges;
        AnchorRect rect;
    };
    HWND m_form = nullptr;
    SIZE m_first{};
    std::vector<Placed> m_placed;
};
