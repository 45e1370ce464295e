#pragma once
// What the panel draws, read back from the screen: its heading and link colours, and where the
// first and last links stand, to click them as a user would.
#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/support/quenta_e2e_win.h"

namespace panel_e2e {

constexpr int kPanelModule = 18;
constexpr COLORREF kHeadingColour = RGB(0x5A, 0x38, 0x9C);
constexpr COLORREF kLinkColour = RGB(0x10, 0x50, 0xC8);

inline RECT ScreenRectOf(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline int CountColour(const ScreenCapture& screen, const RECT& area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (screen.At(x, y) == colour)
                ++count;
    return count;
}

// The first (or last) pixel of the link colour in reading order, in the view's client
// coordinates.
inline std::optional<POINT> LinkPixel(HWND view, bool last)
{
    const ScreenCapture screen;
    const RECT area = ScreenRectOf(view);
    for (int row = 0; row < area.bottom - area.top; ++row) {
        const int y = last ? area.bottom - 1 - row : area.top + row;
        for (int x = area.left; x < area.right; ++x)
            if (screen.At(x, y) == kLinkColour)
                return POINT{x - area.left, y - area.top};
    }
    return std::nullopt;
}

inline void ClickAt(HWND view, POINT point)
{
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageA(view, WM_MOUSEMOVE, 0, where);
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(view, WM_LBUTTONUP, 0, where);
}

inline std::string ViewText(HWND view)
{
    char text[256] = {};
    GetWindowTextA(view, text, sizeof text);
    return text;
}

} // namespace panel_e2e
