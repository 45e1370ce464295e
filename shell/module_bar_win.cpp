#include "shell/module_bar_win.h"
#include "res/resource.h"

#include <algorithm>

namespace {
enum : UINT_PTR { TimerUp = 1, TimerDown = 2 };
constexpr UINT kRepeatMs = 250;
constexpr int kTop = 2; // items start 2 pixels below the top
} // namespace

WindowClassSpec CModuleButtonList::ClassSpec() const { return {"QuentaModuleButtonList", CS_DBLCLKS, nullptr}; }

bool CModuleButtonList::CreateList(HWND parent, UINT id)
{
    m_font.Reset(CreateSimpleFont("Arial", 14, FW_BOLD));
    m_hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_POINTER));
    return Create(0, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, id);
}

void CModuleButtonList::SetItems(std::vector<Item> items, HWND commandTarget, UINT firstCommand)
{
    m_items = std::move(items);
    m_commandTarget = commandTarget;
    m_firstCommand = firstCommand;
    HDC dc = GetDC(m_hwnd);
    SelectInDC select(dc, m_font.Get());
    m_itemHeight = 0;
    m_preferredWidth = 0;
    for (const Item& item : m_items) {
        SIZE text{};
        GetTextExtentPoint32A(dc, item.caption.c_str(), static_cast<int>(item.caption.size()), &text);
        m_textHeight = std::max<int>(m_textHeight, text.cy);
        m_itemHeight = std::max(m_itemHeight, 2 + item.picture.Height() + static_cast<int>(text.cy) + 4);
        m_preferredWidth = std::max(m_preferredWidth, std::max<int>(text.cx, item.picture.Width()) + 16);
    }
    ReleaseDC(m_hwnd, dc);
    m_scroll = 0;
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void CModuleButtonList::SetCurrentModule(int moduleId)
{
    m_current = moduleId;
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

bool CModuleButtonList::ArrowsShown() const
{
    const RECT client = ClientRect();
    return kTop + static_cast<int>(m_items.size()) * m_itemHeight + kTop > client.bottom;
}

RECT CModuleButtonList::ArrowRect(Arrow arrow) const
{
    if (!ArrowsShown() || arrow == NoArrow)
        return {};
    const RECT client = ClientRect();
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    if (arrow == ArrowUp)
        return {client.left + 2, client.top + 2, client.right - 2, client.top + 2 + height};
    return {client.left + 2, client.bottom - 2 - height, client.right - 2, client.bottom - 2};
}

int CModuleButtonList::MaxScroll() const
{
    const RECT client = ClientRect();
    const int arrows = ArrowsShown() ? 2 * GetSystemMetrics(SM_CYHSCROLL) : 0;
    const int total = kTop + static_cast<int>(m_items.size()) * m_itemHeight + kTop;
    return std::max(0, total - (static_cast<int>(client.bottom) - arrows));
}

RECT CModuleButtonList::ItemRect(int index) const
{
    const RECT client = ClientRect();
    const int arrowSpace = ArrowsShown() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const int top = arrowSpace + kTop + index * m_itemHeight - m_scroll;
    return {client.left + 4, top, client.right - 4, top + m_itemHeight};
}

int CModuleButtonList::ItemAt(POINT point) const
{
    if (ArrowAt(point) != NoArrow)
        return -1;
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        const RECT rect = ItemRect(i);
        if (PtInRect(&rect, point))
            return i;
    }
    return -1;
}

CModuleButtonList::Arrow CModuleButtonList::ArrowAt(POINT point) const
{
    if (!ArrowsShown())
        return NoArrow;
    for (Arrow arrow : {ArrowUp, ArrowDown}) {
        const RECT rect = ArrowRect(arrow);
        if (PtInRect(&rect, point))
            return arrow;
    }
    return NoArrow;
}

void CModuleButtonList::ScrollBy(int delta)
{
    const int scroll = std::clamp(m_scroll + delta, 0, MaxScroll());
    if (scroll != m_scroll) {
        m_scroll = scroll;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

LRESULT CModuleButtonList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CModuleButtonList> kMessages[] = {
        {WM_PAINT, &CModuleButtonList::OnPaint},
        {WM_ERASEBKGND, &CModuleButtonList::OnEraseBackground},
        {WM_MOUSEMOVE, &CModuleButtonList::OnMouseMove},
        {WM_LBUTTONDOWN, &CModuleButtonList::OnLButtonDown},
        {WM_LBUTTONDBLCLK, &CModuleButtonList::OnLButtonDown},
        {WM_LBUTTONUP, &CModuleButtonList::OnLButtonUp},
        {WM_TIMER, &CModuleButtonList::OnTimer},
        {WM_SIZE, &CModuleButtonList::OnSize},
        {WM_SETCURSOR, &CModuleButtonList::OnSetCursor},
        {WM_CAPTURECHANGED, &CModuleButtonList::OnCaptureChanged},
    };
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CWindow::OnMessage(message, wParam, lParam);
}

void CModuleButtonList::DrawItem(HDC dc, int index) const
{
    const Item& item = m_items[index];
    RECT rect = ItemRect(index);
    const bool hot = index == m_hot;
    const bool pressed = hot && m_pressed;
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    if (hot || item.moduleId == m_current) {
        GdiObject<HBRUSH> light(CreateSolidBrush(Lighter(workspace, hot ? 64 : 32)));
        FillRect(dc, &rect, light.Get());
    }
    if (hot) {
        // Raised edge (button face above left, black below right), inverted while pressed.
        GdiObject<HPEN> face(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE)));
        GdiObject<HPEN> black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        HPEN topLeft = pressed ? black.Get() : face.Get();
        HPEN bottomRight = pressed ? face.Get() : black.Get();
        {
            SelectInDC select(dc, topLeft);
            MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
            LineTo(dc, rect.left, rect.top);
            LineTo(dc, rect.right - 1, rect.top);
        }
        SelectInDC select(dc, bottomRight);
        LineTo(dc, rect.right - 1, rect.bottom - 1);
        LineTo(dc, rect.left - 1, rect.bottom - 1);
    }
    const int shift = pressed ? 1 : 0;
    const int width = rect.right - rect.left;
    item.picture.Draw(dc, rect.left + (width - item.picture.Width()) / 2 + shift, rect.top + 2 + shift);
    RECT text = {rect.left + shift, rect.bottom - 4 - m_textHeight + shift, rect.right + shift, rect.bottom - 4 + shift};
    SelectInDC select(dc, m_font.Get());
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT shadow = {text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, item.caption.c_str(), -1, &shadow, flags);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, item.caption.c_str(), -1, &text, flags);
}

LRESULT CModuleButtonList::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    const RECT client = ClientRect();
    OffscreenBuffer buffer(screen, client);
    HDC dc = buffer.DC();
    RECT frame = client;
    FillRect(dc, &frame, GetSysColorBrush(COLOR_APPWORKSPACE));
    // 3D frame: shadow and highlight outside, black and button face inside.
    auto edge = [&](RECT r, COLORREF topLeft, COLORREF bottomRight) {
        GdiObject<HPEN> tl(CreatePen(PS_SOLID, 1, topLeft)), br(CreatePen(PS_SOLID, 1, bottomRight));
        {
            SelectInDC select(dc, tl.Get());
            MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
        }
        SelectInDC select(dc, br.Get());
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
    };
    edge(frame, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    InflateRect(&frame, -1, -1);
    edge(frame, RGB(0, 0, 0), GetSysColor(COLOR_BTNFACE));

    {
        const int arrowSpace = ArrowsShown() ? GetSystemMetrics(SM_CYHSCROLL) + 2 : 0;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, client.left + 2, client.top + 2 + arrowSpace, client.right - 2,
                          client.bottom - 2 - arrowSpace);
        for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
            const RECT rect = ItemRect(i);
            if (rect.bottom >= client.top && rect.top <= client.bottom)
                DrawItem(dc, i);
        }
        RestoreDC(dc, saved);
    }
    if (ArrowsShown()) {
        RECT up = ArrowRect(ArrowUp), down = ArrowRect(ArrowDown);
        DrawFrameControl(dc, &up, DFC_SCROLL,
                         DFCS_SCROLLUP | (m_scroll == 0 ? DFCS_INACTIVE : 0) |
                             (m_timerArrow == ArrowUp ? DFCS_PUSHED : 0));
        DrawFrameControl(dc, &down, DFC_SCROLL,
                         DFCS_SCROLLDOWN | (m_scroll >= MaxScroll() ? DFCS_INACTIVE : 0) |
                             (m_timerArrow == ArrowDown ? DFCS_PUSHED : 0));
    }
    buffer.CopyToTarget();
    EndPaint(m_hwnd, &ps);
    return 0;
}

LRESULT CModuleButtonList::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const RECT client = ClientRect();
    if (!PtInRect(&client, point)) {
        // The mouse left the list: release it and forget the hover.
        if (GetCapture() == m_hwnd)
            ReleaseCapture();
        return 0;
    }
    if (GetCapture() != m_hwnd)
        SetCapture(m_hwnd);
    if (m_timerArrow != NoArrow && ArrowAt(point) != m_timerArrow) {
        KillTimer(m_hwnd, m_timerArrow == ArrowUp ? TimerUp : TimerDown);
        m_timerArrow = NoArrow;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
    const int hot = ItemAt(point);
    const bool pressed = (wParam & MK_LBUTTON) != 0;
    if (hot != m_hot || pressed != m_pressed) {
        m_hot = hot;
        m_pressed = pressed;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT CModuleButtonList::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const Arrow arrow = ArrowAt(point);
    if (arrow != NoArrow) {
        ScrollBy((arrow == ArrowUp ? -1 : 1) * m_itemHeight / 2);
        m_timerArrow = arrow;
        SetTimer(m_hwnd, arrow == ArrowUp ? TimerUp : TimerDown, kRepeatMs, nullptr);
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    }
    const int index = ItemAt(point);
    if (index < 0)
        return 0;
    m_hot = index;
    m_pressed = true;
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (m_commandTarget)
        SendMessageA(m_commandTarget, WM_COMMAND, m_firstCommand + m_items[index].moduleId, 0);
    return 0;
}

LRESULT CModuleButtonList::OnLButtonUp(WPARAM, LPARAM)
{
    if (m_timerArrow != NoArrow) {
        KillTimer(m_hwnd, m_timerArrow == ArrowUp ? TimerUp : TimerDown);
        m_timerArrow = NoArrow;
    }
    m_pressed = false;
    InvalidateRect(m_hwnd, nullptr, FALSE);
    return 0;
}

LRESULT CModuleButtonList::OnTimer(WPARAM id, LPARAM)
{
    const int before = m_scroll;
    ScrollBy((id == TimerUp ? -1 : 1) * m_itemHeight);
    if (m_scroll == before) {
        // The end of the list is reached.
        KillTimer(m_hwnd, id);
        m_timerArrow = NoArrow;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT CModuleButtonList::OnSize(WPARAM, LPARAM)
{
    m_scroll = std::min(m_scroll, MaxScroll());
    InvalidateRect(m_hwnd, nullptr, FALSE);
    return 0;
}

LRESULT CModuleButtonList::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(m_hwnd, &point);
    if (ItemAt(point) >= 0 && m_hand) {
        SetCursor(m_hand);
        return TRUE;
    }
    return CWindow::OnMessage(WM_SETCURSOR, wParam, lParam);
}

LRESULT CModuleButtonList::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_timerArrow != NoArrow) {
        KillTimer(m_hwnd, m_timerArrow == ArrowUp ? TimerUp : TimerDown);
        m_timerArrow = NoArrow;
    }
    m_hot = -1;
    m_pressed = false;
    InvalidateRect(m_hwnd, nullptr, FALSE);
    return 0;
}

bool CModuleBar::CreateModuleBar(HWND frame, UINT id)
{
    return CreateBar(frame, id, DockSide::Left, 100) && m_list.CreateList(m_hwnd, 1);
}

LRESULT CModuleBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CModuleBar> kMessages[] = {
        {WM_SIZE, &CModuleBar::OnSize},
    };
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CControlBar::OnMessage(message, wParam, lParam);
}

LRESULT CModuleBar::OnSize(WPARAM, LPARAM)
{
    const RECT client = ClientRect();
    SetWindowPos(m_list.Hwnd(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}
