#include "shell/caption_bar_win.h"

#include "framework/command.h"
#include "res/resource.h"
#include "shell/qn_form_view_win.h"

namespace {
constexpr int kZoneWidth = 40;
constexpr UINT kZonePictures[CCaptionBar::ZoneCount] = {IDR_PIC_ZONE_HELP, IDR_PIC_ZONE_PRINT,
                                                        IDR_PIC_ZONE_PREVIEW, IDR_PIC_ZONE_SAVE};
constexpr UINT kZoneCommands[CCaptionBar::ZoneCount] = {ID_SHOW_MODULE_HELP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                                                        ID_FILE_SAVE_LIST};
} // namespace

bool CCaptionBar::CreateCaptionBar(HWND frame, UINT id)
{
    if (!CreateBar(frame, id, DockSide::Top, 50))
        return false;
    for (int zone = 0; zone < ZoneCount; ++zone)
        LoadAlphaBitmapResource(kZonePictures[zone], m_zones[zone]);
    m_titleFont.Reset(CreateSimpleFont("Arial", -22, FW_BOLD));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_helpCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HELP_ZONE));
    m_handCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    return true;
}

void CCaptionBar::SetModule(const std::string& title, UINT pictureId)
{
    m_title = title;
    m_picture = CAlphaBitmap();
    LoadAlphaBitmapResource(pictureId, m_picture);
    m_printEnabled = m_saveEnabled = false;
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CCaptionBar::SetZoneStates(bool printEnabled, bool saveEnabled)
{
    if (printEnabled == m_printEnabled && saveEnabled == m_saveEnabled)
        return;
    m_printEnabled = printEnabled;
    m_saveEnabled = saveEnabled;
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

bool CCaptionBar::IsZoneEnabled(Zone zone) const
{
    switch (zone) {
    case Help: return true;
    case Print:
    case Preview: return m_printEnabled;
    case Save: return m_saveEnabled;
    default: return false;
    }
}

RECT CCaptionBar::ZoneRect(Zone zone) const
{
    const RECT client = ClientRect();
    // Right to left: help at the far right, then save, preview, print.
    static const int order[ZoneCount] = {0, 3, 2, 1};
    const int right = client.right - 8 - order[zone] * kZoneWidth;
    return {right - kZoneWidth + 4, client.top + 7, right, client.bottom - 9};
}

CCaptionBar::Zone CCaptionBar::ZoneAt(POINT point) const
{
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const RECT rect = ZoneRect(static_cast<Zone>(zone));
        if (PtInRect(&rect, point))
            return static_cast<Zone>(zone);
    }
    return None;
}

LRESULT CCaptionBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CCaptionBar> kMessages[] = {
        {WM_PAINT, &CCaptionBar::OnPaint},
        {WM_ERASEBKGND, &CCaptionBar::OnEraseBackground},
        {WM_SETCURSOR, &CCaptionBar::OnSetCursor},
        {WM_LBUTTONUP, &CCaptionBar::OnLButtonUp},
        {WM_MOUSEMOVE, &CCaptionBar::OnMouseMove},
        {WM_MOUSELEAVE, &CCaptionBar::OnMouseLeave},
    };
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CControlBar::OnMessage(message, wParam, lParam);
}

LRESULT CCaptionBar::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    const RECT client = ClientRect();
    OffscreenBuffer buffer(screen, client);
    HDC dc = buffer.DC();

    // A light vertical gradient with a separating line at the bottom.
    TRIVERTEX vertices[2] = {{client.left, client.top, 0xFF00, 0xFF00, 0xFF00, 0},
                             {client.right, client.bottom, 0xE400, 0xE800, 0xEE00, 0}};
    GRADIENT_RECT gradient = {0, 1};
    GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
    RECT line = {client.left, client.bottom - 1, client.right, client.bottom};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));

    int x = 12;
    if (!m_picture.IsEmpty()) {
        m_picture.Draw(dc, x, (client.bottom - m_picture.Height()) / 2);
        x += m_picture.Width() + 12;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x24, 0x2C, 0x3A));
    {
        SelectInDC select(dc, m_titleFont.Get());
        RECT text = {x, client.top, ZoneRect(Print).left - 8, client.bottom};
        DrawTextA(dc, m_title.c_str(), static_cast<int>(m_title.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const Zone z = static_cast<Zone>(zone);
        const RECT rect = ZoneRect(z);
        const bool enabled = IsZoneEnabled(z);
        if (enabled && z == m_hot) {
            GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(0xD6, 0xE4, 0xF6)));
            GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0x7A, 0x9C, 0xD0)));
            SelectInDC b(dc, brush.Get());
            SelectInDC p(dc, pen.Get());
            RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 6, 6);
        }
        const CAlphaBitmap& picture = m_zones[zone];
        if (picture.IsEmpty())
            continue;
        const int px = (rect.left + rect.right - picture.Width()) / 2;
        const int py = (rect.top + rect.bottom - picture.Height()) / 2;
        if (enabled) {
            picture.Draw(dc, px, py);
        } else {
            // Disabled zones fade into the bar.
            HDC source = CreateCompatibleDC(dc);
            HBITMAP bitmap = CreateCompatibleBitmap(dc, picture.Width(), picture.Height());
            HGDIOBJ old = SelectObject(source, bitmap);
            BitBlt(source, 0, 0, picture.Width(), picture.Height(), dc, px, py, SRCCOPY);
            picture.Draw(source, 0, 0);
            BLENDFUNCTION fade{AC_SRC_OVER, 0, 70, 0};
            AlphaBlend(dc, px, py, picture.Width(), picture.Height(), source, 0, 0, picture.Width(), picture.Height(),
                       fade);
            SelectObject(source, old);
            DeleteObject(bitmap);
            DeleteDC(source);
        }
    }
    buffer.CopyToTarget();
    EndPaint(m_hwnd, &ps);
    return 0;
}

LRESULT CCaptionBar::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(m_hwnd, &point);
    const Zone zone = ZoneAt(point);
    if (zone == Help && m_helpCursor) {
        SetCursor(m_helpCursor);
        return TRUE;
    }
    if (zone != None && IsZoneEnabled(zone) && m_handCursor) {
        SetCursor(m_handCursor);
        return TRUE;
    }
    return CControlBar::OnMessage(WM_SETCURSOR, wParam, lParam);
}

LRESULT CCaptionBar::OnLButtonUp(WPARAM, LPARAM lParam)
{
    const Zone zone = ZoneAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    if (zone != None && IsZoneEnabled(zone))
        PostMessageA(GetParent(m_hwnd), WM_COMMAND, kZoneCommands[zone], 0);
    return 0;
}

LRESULT CCaptionBar::OnMouseMove(WPARAM, LPARAM lParam)
{
    const Zone zone = ZoneAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    if (zone != m_hot) {
        m_hot = zone;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hwnd;
        TrackMouseEvent(&track);
    }
    return 0;
}

LRESULT CCaptionBar::OnMouseLeave(WPARAM, LPARAM)
{
    m_hot = None;
    InvalidateRect(m_hwnd, nullptr, FALSE);
    return 0;
}
