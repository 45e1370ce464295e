#pragma once
// Fonts (module 10): every installed font family, each row drawn in its own face; a row opens
// the font viewer. Its form is IDD_FONTS.
#include <vector>

#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "systools/info/font_list_win.h"

class CSysFonts : public CQnFormView {
public:
    CSysFonts();
    ~CSysFonts() override;
    void InitModule() override;

    // The installed families, each once, by name.
    static std::vector<FontFamily> InstalledFamilies();
    // Opens the font viewer on the family of `row`.
    void ViewRow(int row);

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitColumn();

    CFontList m_list;
    CModuleStatus m_status;
};
