#include "systools/misc/tips_editor_dlg_win.h"

#include "base/text.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/module_form_win.h"
#include "systools/misc/tips_store.h"

namespace {
const FormText kTexts[] = {
    {IDC_TIPS_APPLY, IDS_TIPS_APPLY},
    {IDC_TIPS_OK, IDS_TIPS_OK},
    {IDC_TIPS_CANCEL, IDS_TIPS_CANCEL},
};
constexpr UINT_PTR kSelectionTimer = 1;
constexpr UINT kSelectionTimerMs = 100;
} // namespace

CTipsEditorDlg::CTipsEditorDlg() : CDialog(IDD_TIPS) {}

bool CTipsEditorDlg::OnInitDialog()
{
    SetWindowTextA(m_hwnd, LoadText(IDS_TIPS_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    m_opened = ReadTips();
    m_tips = m_opened;
    FillList(0);
    ShowSelected();
    SetTimer(m_hwnd, kSelectionTimer, kSelectionTimerMs, nullptr);
    return true;
}

void CTipsEditorDlg::FillList(int select)
{
    HWND list = Item(IDC_TIPS_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& tip : m_tips)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tip.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CTipsEditorDlg::ShowSelected()
{
    const int selected = static_cast<int>(SendDlgItemMessageA(m_hwnd, IDC_TIPS_LIST, LB_GETCURSEL, 0, 0));
    m_shown = selected;
    const std::string text = selected >= 0 && static_cast<size_t>(selected) < m_tips.size() ? m_tips[selected] : "";
    SetDlgItemTextA(m_hwnd, IDC_TIPS_TEXT, text.c_str());
    EnableWindow(Item(IDC_TIPS_APPLY), FALSE); // setting the text is not an edit
}

void CTipsEditorDlg::ApplyEdit()
{
    if (m_shown < 0 || static_cast<size_t>(m_shown) >= m_tips.size())
        return;
    const size_t before = m_tips.size();
    ReplaceTip(m_tips, static_cast<size_t>(m_shown), WindowText(Item(IDC_TIPS_TEXT)));
    HWND list = Item(IDC_TIPS_LIST);
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(m_shown), 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(m_shown), reinterpret_cast<LPARAM>(m_tips[m_shown].c_str()));
    if (m_tips.size() > before)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(m_shown), 0);
    EnableWindow(Item(IDC_TIPS_APPLY), FALSE);
}

std::optional<LRESULT> CTipsEditorDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kSelectionTimer) {
        if (SendDlgItemMessageA(m_hwnd, IDC_TIPS_LIST, LB_GETCURSEL, 0, 0) != m_shown)
            ShowSelected();
        return 0;
    }
    if (message == WM_DESTROY)
        KillTimer(m_hwnd, kSelectionTimer);
    return CDialog::OnMessage(message, wParam, lParam);
}

bool CTipsEditorDlg::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_TIPS_TEXT:
        if (code == EN_CHANGE)
            EnableWindow(Item(IDC_TIPS_APPLY), TRUE);
        return true;
    case IDC_TIPS_APPLY:
        ApplyEdit();
        return true;
    case IDC_TIPS_OK:
    case IDOK:
        WriteTips(m_tips, m_opened);
        EndDialog(IDOK);
        return true;
    case IDC_TIPS_CANCEL:
    case IDCANCEL:
        EndDialog(IDCANCEL);
        return true;
    default:
        return CDialog::OnCommand(id, code);
    }
}

bool EditTips(HWND owner)
{
    CTipsEditorDlg dialog;
    return dialog.DoModal(owner) == IDOK;
}
