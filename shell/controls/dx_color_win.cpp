#include "shell/controls/dx_color_win.h"

#include <commdlg.h>

#include <array>

bool CDxColor::CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle)
{
    return Create(0, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent, id);
}

void CDxColor::SetColor(COLORREF color)
{
    m_color = color;
    m_hasColor = true;
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CDxColor::ClearColor()
{
    m_hasColor = false;
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CDxColor::SetChangeCallback(ChangeCallback callback, void* argument)
{
    m_callback = callback;
    m_argument = argument;
}

COLORREF* CDxColor::CustomColors()
{
    static std::array<COLORREF, 16> colors{}; // black
    return colors.data();
}

bool CDxColor::ChooseNewColor()
{
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hwnd;
    dialog.rgbResult = m_color;
    dialog.lpCustColors = CustomColors();
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&dialog))
        return false; // Cancel keeps the current colour
    if (m_hasColor && dialog.rgbResult == m_color)
        return true;
    SetColor(dialog.rgbResult);
    if (m_hwnd)
        UpdateWindow(m_hwnd);
    if (m_callback)
        m_callback(m_argument);
    return true;
}

void CDxColor::Paint(HDC dc) const
{
    RECT rect = ClientRect();
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    InflateRect(&rect, -1, -1);
    HBRUSH brush = nullptr;
    if (m_hasColor && enabled) {
        brush = CreateSolidBrush(m_color);
    } else {
        brush = CreateHatchBrush(HS_BDIAGONAL, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    }
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    if (GetFocus() == m_hwnd) {
        InflateRect(&rect, 2, 2);
        DrawFocusRect(dc, &rect);
    }
}

LRESULT CDxColor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hwnd, &paint);
        Paint(dc);
        EndPaint(m_hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd);
        return 0;
    case WM_LBUTTONUP: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT rect = ClientRect();
        if (PtInRect(&rect, p))
            ChooseNewColor();
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            ChooseNewColor();
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(m_hwnd, nullptr, TRUE);
        break;
    default:
        break;
    }
    return CWindow::OnMessage(message, wParam, lParam);
}
