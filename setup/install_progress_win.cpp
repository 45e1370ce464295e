#include "setup/install_progress_win.h"

#include <commctrl.h>

#include "base/text.h"
#include "res/resource.h"

void CSetupProgressDialog::Show(HWND owner, bool install)
{
    Close();
    m_owner = owner;
    ResetCancel();
    m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP_PROGRESS), owner, DialogProc,
                                  reinterpret_cast<LPARAM>(this));
    if (!m_window)
        return;
    SetWindowTextA(m_window, LoadText(install ? IDS_SETUP_TITLE : IDS_UNINSTALLER_TITLE).c_str());
    SetDlgItemTextA(m_window, IDC_SETUP_PROGRESS_CANCEL, LoadText(IDS_SETUP_CANCEL).c_str());
    SendDlgItemMessageA(m_window, IDC_SETUP_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
    m_shownText.clear();
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
    // The wizard below waits while the procedure runs.
    if (m_owner)
        EnableWindow(m_owner, FALSE);
}

void CSetupProgressDialog::Close()
{
    if (!m_window)
        return;
    if (m_owner)
        EnableWindow(m_owner, TRUE);
    DestroyWindow(m_window);
    m_window = nullptr;
}

void CSetupProgressDialog::Refresh()
{
    CQnProgress::Refresh();
    if (!m_window)
        return;
    const int64_t range = High() - Low();
    const int64_t percent = range > 0 ? (Pos() - Low()) * 100 / range : 0;
    SendDlgItemMessageA(m_window, IDC_SETUP_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    if (Text() != m_shownText) {
        m_shownText = Text();
        SetDlgItemTextA(m_window, IDC_SETUP_PROGRESS_TEXT, m_shownText.c_str());
    }
    PumpMessages();
}

void CSetupProgressDialog::PumpMessages()
{
    MSG message;
    for (int handled = 0; handled < 10 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageA(m_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

INT_PTR CALLBACK CSetupProgressDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<CSetupProgressDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SETUP_PROGRESS_CANCEL && self) {
        self->Cancel();
        return TRUE;
    }
    return FALSE;
}
