#include "framework/control_bar.h"

#include <commctrl.h>

WindowClassSpec CControlBar::ClassSpec() const
{
    return {"QuentaControlBar", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
}

bool CControlBar::CreateBar(HWND frame, UINT id, DockSide side, int thickness)
{
    m_side = side;
    m_thickness = thickness;
    return Create(0, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, frame, id);
}

bool CStatusBar::CreateStatusBar(HWND frame, UINT id)
{
    HWND hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                frame, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    return hwnd && Subclass(hwnd);
}

int CStatusBar::IndexOf(UINT id) const
{
    for (size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

void CStatusBar::SetPanes(const std::vector<UINT>& ids)
{
    m_ids = ids;
    m_widths.assign(ids.size(), 80);
    Relayout();
}

void CStatusBar::SetPaneText(UINT id, const std::string& text)
{
    const int index = IndexOf(id);
    if (index >= 0 && m_hwnd && PaneText(id) != text)
        SendMessageA(m_hwnd, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CStatusBar::PaneText(UINT id) const
{
    const int index = IndexOf(id);
    if (index < 0 || !m_hwnd)
        return {};
    const LRESULT info = SendMessageA(m_hwnd, SB_GETTEXTLENGTHA, index, 0);
    std::string text(LOWORD(info) + 1, '\0');
    SendMessageA(m_hwnd, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

void CStatusBar::SetPaneWidth(UINT id, int width)
{
    const int index = IndexOf(id);
    if (index >= 0 && m_widths[index] != width) {
        m_widths[index] = width;
        Relayout();
    }
}

int CStatusBar::PaneWidthForText(const std::string& text) const
{
    if (!m_hwnd)
        return 0;
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(m_hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    return size.cx + 12;
}

int CStatusBar::Height() const
{
    if (!m_hwnd)
        return 0;
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    return rect.bottom - rect.top;
}

void CStatusBar::Relayout()
{
    if (!m_hwnd || m_ids.empty())
        return;
    SendMessageA(m_hwnd, WM_SIZE, 0, 0);
    const RECT client = ClientRect();
    // Each pane ends where the panes after it begin; the last one runs to the grip.
    const int count = static_cast<int>(m_ids.size());
    std::vector<int> edges(count, -1);
    int right = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int i = count - 1; i > 0; --i) {
        right -= m_widths[i];
        edges[i - 1] = right;
    }
    SendMessageA(m_hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}
