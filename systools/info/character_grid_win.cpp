#include "systools/info/character_grid_win.h"

#include <algorithm>

#include "systools/info/info_settings.h"

namespace {
constexpr int kCellGap = 4; // pixels between cells
constexpr int kWheelLines = 3;
} // namespace

bool CCharacterGridView::Attach(HWND control)
{
    if (!control || !Subclass(control))
        return false;
    SetWindowTextA(control, FontViewerCharacters().c_str());
    return true;
}

void CCharacterGridView::SetGridFont(HFONT font)
{
    m_font = font;
    m_scroll = 0;
    Measure();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

int CCharacterGridView::ViewHeight() const
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    return client.bottom;
}

void CCharacterGridView::Measure()
{
    if (!m_hwnd)
        return;
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old = SelectObject(dc, m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    int widest = metrics.tmAveCharWidth;
    INT widths[kLastGridCharacter + 1] = {};
    if (GetCharWidth32A(dc, 0, kLastGridCharacter, widths))
        widest = std::max(widest, *std::max_element(widths + kFirstGridCharacter, widths + kLastGridCharacter + 1));
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    RECT client;
    GetClientRect(m_hwnd, &client);
    m_grid = LayOutCharacters(client.right, widest + kCellGap, metrics.tmHeight + kCellGap);
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    scroll.nMax = std::max(0, m_grid.ContentHeight() - 1);
    scroll.nPage = static_cast<UINT>(client.bottom);
    m_scroll = ClampGridScroll(m_grid, client.bottom, m_scroll);
    scroll.nPos = m_scroll;
    SetScrollInfo(m_hwnd, SB_VERT, &scroll, TRUE);
}

void CCharacterGridView::ScrollTo(int position)
{
    position = ClampGridScroll(m_grid, ViewHeight(), position);
    if (position == m_scroll)
        return;
    m_scroll = position;
    SetScrollPos(m_hwnd, SB_VERT, m_scroll, TRUE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CCharacterGridView::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hwnd, &paint);
    RECT client;
    GetClientRect(m_hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ old = SelectObject(dc, m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int c = kFirstGridCharacter; c <= kLastGridCharacter; ++c) {
        const GridCell cell = CellOfCharacter(m_grid, c);
        const int top = cell.y - m_scroll + 2;
        if (top + m_grid.cellHeight < paint.rcPaint.top || top > paint.rcPaint.bottom)
            continue;
        const char character = static_cast<char>(c);
        TextOutA(dc, cell.x + m_grid.cellWidth / 2, top, &character, 1);
    }
    SelectObject(dc, old);
    EndPaint(m_hwnd, &paint);
}

LRESULT CCharacterGridView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: Measure(); return CWindow::OnMessage(message, wParam, lParam);
    case WM_VSCROLL: {
        const int line = m_grid.cellHeight, page = std::max(line, ViewHeight() - line);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(m_scroll - line); break;
        case SB_LINEDOWN: ScrollTo(m_scroll + line); break;
        case SB_PAGEUP: ScrollTo(m_scroll - page); break;
        case SB_PAGEDOWN: ScrollTo(m_scroll + page); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(m_grid.ContentHeight()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO scroll{};
            scroll.cbSize = sizeof scroll;
            scroll.fMask = SIF_TRACKPOS;
            GetScrollInfo(m_hwnd, SB_VERT, &scroll);
            ScrollTo(scroll.nTrackPos);
            break;
        }
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(m_scroll - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines * m_grid.cellHeight);
        return 0;
    default: return CWindow::OnMessage(message, wParam, lParam);
    }
}
