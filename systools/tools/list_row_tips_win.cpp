#include "systools/tools/list_row_tips_win.h"

#include <commctrl.h>

namespace {
constexpr UINT kTickMs = 100;
constexpr int kRestTicks = 5;      // half a second on a row before the tip shows
constexpr int kMaxTipWidth = 600;
constexpr int kCursorOffset = 20;  // the tip below and right of the cursor's point
constexpr UINT_PTR kToolId = 1;

TOOLINFOA ToolInfo(HWND owner, const char* text)
{
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = owner;
    info.uId = kToolId;
    info.lpszText = const_cast<char*>(text);
    return info;
}
} // namespace

CListRowTips::~CListRowTips() { Detach(); }

bool CListRowTips::Attach(HWND owner, HWND list, TextOfRow text, StatusCallback status)
{
    Detach();
    m_tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!m_tip)
        return false;
    m_owner = owner;
    m_list = list;
    m_text = std::move(text);
    m_status = std::move(status);
    TOOLINFOA info = ToolInfo(owner, "");
    SendMessageA(m_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(m_tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    SetTimer(m_list, reinterpret_cast<UINT_PTR>(this), kTickMs, OnTimer);
    return true;
}

void CListRowTips::Detach()
{
    if (m_list && IsWindow(m_list))
        KillTimer(m_list, reinterpret_cast<UINT_PTR>(this));
    if (m_tip)
        DestroyWindow(m_tip);
    if (m_shown && m_status)
        m_status({});
    m_tip = nullptr;
    m_list = nullptr;
    m_owner = nullptr;
    m_row = -1;
    m_shown = false;
}

void CListRowTips::Reset()
{
    Hide();
    m_row = -1;
}

// The timer's id is the object: the list's timer ends with the list or with Detach.
void CALLBACK CListRowTips::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    reinterpret_cast<CListRowTips*>(id)->Tick();
}

int CListRowTips::RowUnderCursor(POINT& cursor) const
{
    if (!GetCursorPos(&cursor) || !IsWindowVisible(m_list))
        return -1;
    HWND under = WindowFromPoint(cursor);
    if (under != m_list && !IsChild(m_list, under))
        return -1;
    LVHITTESTINFO hit{};
    hit.pt = cursor;
    ScreenToClient(m_list, &hit.pt);
    const int row = static_cast<int>(SendMessageA(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

void CListRowTips::Tick()
{
    POINT cursor{};
    const int row = RowUnderCursor(cursor);
    if (row != m_row) {
        Hide();
        m_row = row;
        m_wait = kRestTicks;
        return;
    }
    if (row < 0 || m_shown || --m_wait > 0)
        return;
    const std::string text = m_text ? m_text(row) : std::string();
    if (text.empty())
        return;
    TOOLINFOA info = ToolInfo(m_owner, text.c_str());
    SendMessageA(m_tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x + kCursorOffset, cursor.y + kCursorOffset));
    SendMessageA(m_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    m_shown = true;
    if (m_status)
        m_status(text);
}

void CListRowTips::Hide()
{
    if (!m_shown)
        return;
    TOOLINFOA info = ToolInfo(m_owner, "");
    SendMessageA(m_tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    m_shown = false;
    if (m_status)
        m_status({});
}
