#include "systools/info/print_choice_dlg_win.h"

#include <commctrl.h>

#include "base/text.h"
#include "framework/dialog.h"
#include "res/resource.h"
#include "shell/module_form_win.h"
#include "systools/info/info_settings.h"

namespace {
const FormText kTexts[] = {{IDC_WININFO_PRINT_LABEL, IDS_WININFO_PRINT_QUESTION},
                           {IDC_WININFO_PRINT_INFORMATION, IDS_WININFO_PRINT_INFORMATION},
                           {IDC_WININFO_PRINT_FILES, IDS_WININFO_PRINT_FILES},
                           {IDOK, IDS_BUTTON_OK},
                           {IDCANCEL, IDS_BUTTON_CANCEL}};

class CPrintChoiceDlg : public CDialog {
public:
    CPrintChoiceDlg() : CDialog(IDD_WININFO_PRINT) {}
    bool WindowsInformation() const { return m_windowsInformation; }

protected:
    bool OnInitDialog() override
    {
        SetWindowTextA(m_hwnd, LoadText(IDS_WININFO_PRINT_TITLE).c_str());
        ApplyControlTexts(m_hwnd, kTexts);
        m_windowsInformation = ReadPrintsWindowsInformation();
        CheckRadioButton(m_hwnd, IDC_WININFO_PRINT_INFORMATION, IDC_WININFO_PRINT_FILES,
                         m_windowsInformation ? IDC_WININFO_PRINT_INFORMATION : IDC_WININFO_PRINT_FILES);
        HWND animation = Item(IDC_WININFO_PRINT_ANIMATION);
        SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(GetModuleHandleA(nullptr)),
                     reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_AVI_BUSY)));
        SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
        return true;
    }
    void OnOK() override
    {
        m_windowsInformation = IsDlgButtonChecked(m_hwnd, IDC_WININFO_PRINT_INFORMATION) == BST_CHECKED;
        StorePrintChoice(m_windowsInformation);
        EndDialog(IDOK);
    }

private:
    bool m_windowsInformation = true;
};
} // namespace

std::optional<bool> AskPrintChoice(HWND owner)
{
    CPrintChoiceDlg dialog;
    if (dialog.DoModal(owner) != IDOK)
        return std::nullopt;
    return dialog.WindowsInformation();
}
