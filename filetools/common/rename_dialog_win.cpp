#include "filetools/common/rename_dialog_win.h"

#include "base/text.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/module_form_win.h"

namespace {
const FormText kTexts[] = {{IDC_RENAME_LABEL, IDS_RENAME_LABEL}, {IDOK, IDS_BUTTON_OK}, {IDCANCEL, IDS_BUTTON_CANCEL}};
}

CRenameDialog::CRenameDialog(std::string name) : CDialog(IDD_RENAME_FILE), m_name(std::move(name)) {}

bool CRenameDialog::OnInitDialog()
{
    SetWindowTextA(m_hwnd, LoadText(IDS_RENAME_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    SetDlgItemTextA(m_hwnd, IDC_RENAME_NAME, m_name.c_str());
    // The name without its extension is selected, ready to be typed over.
    const size_t dot = m_name.rfind('.');
    const int end = dot == std::string::npos || dot == 0 ? static_cast<int>(m_name.size()) : static_cast<int>(dot);
    SetFocus(Item(IDC_RENAME_NAME));
    SendMessageA(Item(IDC_RENAME_NAME), EM_SETSEL, 0, end);
    return false; // the focus is set
}

void CRenameDialog::OnOK()
{
    m_name = WindowText(Item(IDC_RENAME_NAME));
    EndDialog(IDOK);
}
