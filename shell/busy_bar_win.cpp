#include "shell/busy_bar_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/text.h"
#include "res/resource.h"
#include "shell/module_catalogue.h"

bool CBusyBar::CreateBusyBar(HWND frame, UINT id)
{
    if (!CreateBar(frame, id, DockSide::Bottom, 26))
        return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 0, 0, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IdProgress)), instance, nullptr);
    const std::string cancel = LoadText(IDS_BUSY_CANCEL);
    m_cancel = CreateWindowExA(0, "BUTTON", cancel.c_str(),
                               WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, m_hwnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDCANCEL)), instance, nullptr);
    SendMessageA(m_cancel, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return m_progress && m_cancel;
}

LRESULT CBusyBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CBusyBar> kMessages[] = {
        {WM_PAINT, &CBusyBar::OnPaint},
        {WM_SIZE, &CBusyBar::OnSize},
        {WM_COMMAND, &CBusyBar::OnCommand},
    };
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CControlBar::OnMessage(message, wParam, lParam);
}

RECT CBusyBar::TextRect() const
{
    RECT client = ClientRect();
    return {6, 0, client.right / 2 - 4, client.bottom};
}

LRESULT CBusyBar::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &client, BDR_RAISEDINNER, BF_TOP);
    RECT text = TextRect();
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(m_hwnd, &ps);
    return 0;
}

LRESULT CBusyBar::OnSize(WPARAM, LPARAM)
{
    const RECT client = ClientRect();
    const int half = client.right / 2;
    const int buttonWidth = 72;
    SetWindowPos(m_progress, nullptr, half, 4, std::max(10, static_cast<int>(client.right) - half - buttonWidth - 12),
                 client.bottom - 7, SWP_NOZORDER);
    SetWindowPos(m_cancel, nullptr, client.right - buttonWidth - 4, 2, buttonWidth, client.bottom - 4, SWP_NOZORDER);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    return 0;
}

LRESULT CBusyBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDCANCEL) {
        m_cancelled = true;
        return 0;
    }
    return CControlBar::OnMessage(WM_COMMAND, wParam, lParam);
}

void CBusyBar::SetMessageText(const std::string& text)
{
    const std::string shown = ProgressDisplayText(text);
    if (shown == m_text)
        return;
    m_text = shown;
    RECT area = TextRect();
    RedrawWindow(m_hwnd, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CBusyBar::SetRange(int low, int high)
{
    // 32-bit bounds: lists of more than 65535 rows still show their progress.
    SendMessageA(m_progress, PBM_SETRANGE32, low, high);
}

void CBusyBar::SetPos(int position) { SendMessageA(m_progress, PBM_SETPOS, position, 0); }
