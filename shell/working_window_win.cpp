#include "shell/working_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "base/text.h"
#include "shell/module_form_win.h"
#include "res/resource.h"

namespace {
int ToBarValue(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }
} // namespace

// Bar 2 and line 2 as a progress sink: every position is a check of the Cancel button.
class CWorkingWindow::FileSink : public CQnProgress {
public:
    explicit FileSink(CWorkingWindow& window) : m_window(window) {}

    void SetRange(int64_t low, int64_t high, bool redraw) override
    {
        CQnProgress::SetRange(low, high, redraw);
        SendMessageA(m_window.Item(IDC_WORKING_BAR2), PBM_SETRANGE32, ToBarValue(low), ToBarValue(high));
    }
    bool SetPos(int64_t position, bool redraw) override
    {
        CQnProgress::SetPos(position, redraw);
        SendMessageA(m_window.Item(IDC_WORKING_BAR2), PBM_SETPOS, ToBarValue(position), 0);
        m_window.PumpMessages();
        if (m_window.IsCancelled())
            Cancel();
        return !IsCancelled();
    }
    void SetText(const std::string& text, bool redraw) override
    {
        CQnProgress::SetText(text, redraw);
        m_window.SetLine2(text);
    }

private:
    CWorkingWindow& m_window;
};

CWorkingWindow::CWorkingWindow() : CDialog(IDD_WORKING), m_fileProgress(std::make_unique<FileSink>(*this)) {}

CWorkingWindow::~CWorkingWindow() { Close(); }

bool CWorkingWindow::Open(HWND owner)
{
    m_cancelled = false;
    if (!CreateModeless(owner))
        return false;
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    return true;
}

void CWorkingWindow::Close() { DestroyModeless(); }

CQnProgress& CWorkingWindow::FileProgress() { return *m_fileProgress; }

bool CWorkingWindow::OnInitDialog()
{
    static const FormText kTexts[] = {{IDCANCEL, IDS_BUTTON_CANCEL}};
    SetWindowTextA(m_hwnd, LoadText(IDS_WORKING_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND animation = Item(IDC_WORKING_ANIMATION);
    // The animation plays on its own thread, so it moves while a picture is being worked on.
    if (SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(instance),
                     reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_AVI_BUSY))))
        SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
    SendMessageA(Item(IDC_WORKING_BAR1), PBM_SETRANGE32, 0, 1);
    SendMessageA(Item(IDC_WORKING_BAR2), PBM_SETRANGE32, 0, 100);
    return true;
}

void CWorkingWindow::SetLine1(const std::string& text)
{
    SetDlgItemTextA(m_hwnd, IDC_WORKING_LINE1, text.c_str());
    UpdateWindow(Item(IDC_WORKING_LINE1));
}

void CWorkingWindow::SetLine2(const std::string& text)
{
    SetDlgItemTextA(m_hwnd, IDC_WORKING_LINE2, text.c_str());
    UpdateWindow(Item(IDC_WORKING_LINE2));
}

void CWorkingWindow::SetFilesRange(int count)
{
    SendMessageA(Item(IDC_WORKING_BAR1), PBM_SETRANGE32, 0, std::max(count, 1));
}

bool CWorkingWindow::SetFilesDone(int done)
{
    SendMessageA(Item(IDC_WORKING_BAR1), PBM_SETPOS, done, 0);
    PumpMessages();
    return !m_cancelled;
}

bool CWorkingWindow::ResetFileBar()
{
    m_fileProgress->ResetCancel();
    return m_fileProgress->SetPos(0, true);
}

void CWorkingWindow::PumpMessages()
{
    if (!m_hwnd)
        return;
    HWND cancel = Item(IDCANCEL);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the end of the program to the main loop once the run is over.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const bool cancelButton = msg.hwnd == cancel && msg.hwnd;
        const bool cancelCommand = msg.hwnd == m_hwnd && msg.message == WM_COMMAND && LOWORD(msg.wParam) == IDCANCEL;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            m_cancelled = true;
        else if (msg.message == WM_PAINT || cancelButton || cancelCommand)
            DispatchMessageA(&msg);
    }
}
