#pragma once
// The "Windows Colors" module (module 4): lists the system's display colours with a swatch
// and a description; the selected colour is edited by its red, green and blue parts, with a
// live preview on the desktop when "WYSIWYG" is on, and applied to the running system. Reset
// returns to the colours found when the view opened, Default to the built-in set. The desktop
// theme group applies a theme file or the default theme. Its form is IDD_WINCOLORS.
#include <windows.h>

#include "shell/controls/dx_color_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/colours/colour_parts.h"
#include "systools/colours/system_colours_win.h"

class CWinColor : public CQnFormView {
public:
    CWinColor();
    ~CWinColor() override;
    void InitModule() override;

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;
    void OnDestroyed() override;

private:
    // Re-reads the colours, rebuilds swatches and rows, and selects table row `row`.
    void Refresh(int row);
    void OnSelectionChanged();
    void ShowRow(int row);
    void OnPartsEdited();
    void OnWysiwygToggled();
    void OnApply();
    void SetAllColours(const TableColours& colours);
    void OnThemeApply();
    void OnThemeBrowse();
    void OnDefaultTheme();
    void OnPreviewButtonChanged();
    // Puts the previewed row's system colour back as it was before the preview.
    void UndoPreview();
    void UpdateResetButton();
    ColourParts EditedParts() const;
    int SelectedTableRow() const;
    bool WysiwygOn() const;

    CReportList m_list;
    CDxColor m_preview;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
    HIMAGELIST m_swatches = nullptr;
    TableColours m_startColours{};
    TableColours m_currentColours{};
    int m_shownRow = -1;       // the table row whose parts the edits show
    int m_previewedRow = -1;   // the table row whose system colour holds a preview
    bool m_filling = false;    // the view itself is changing the edits
};
