#include "shell/controls/dx_edit_win.h"

CDxEdit::~CDxEdit()
{
    m_parentHook.Remove();
    if (m_hwnd && m_created)
        DestroyWindow(m_hwnd);
    if (m_hwnd && m_font)
        SendMessageA(m_hwnd, WM_SETFONT, 0, FALSE);
    if (m_brush)
        DeleteObject(m_brush);
    if (m_font)
        DeleteObject(m_font);
}

bool CDxEdit::CreateControl(HWND parent, UINT id, const RECT& rect, DWORD style, DWORD exStyle)
{
    HWND edit = CreateWindowExA(exStyle, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!edit)
        return false;
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_created = true;
    return AttachControl(edit);
}

bool CDxEdit::AttachControl(HWND edit)
{
    if (!Subclass(edit))
        return false;
    return m_parentHook.Install(GetParent(edit), [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return OnParentMessage(message, wParam, lParam);
    });
}

void CDxEdit::SetColors(COLORREF text, COLORREF background)
{
    m_text = text;
    m_background = background;
    if (m_brush)
        DeleteObject(m_brush);
    m_brush = CreateSolidBrush(background);
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CDxEdit::SetFontSize(int height, const std::string& face)
{
    if (!m_hwnd)
        return;
    LOGFONTA font{};
    HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessageA(m_hwnd, WM_GETFONT, 0, 0));
    if (!current || !GetObjectA(current, sizeof font, &font))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = height;
    font.lfWidth = 0;
    if (!face.empty())
        lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT created = CreateFontIndirectA(&font);
    if (!created)
        return;
    SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (m_font)
        DeleteObject(m_font);
    m_font = created;
}

std::optional<LRESULT> CDxEdit::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Read-only and disabled edit controls ask with WM_CTLCOLORSTATIC.
    if ((message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) || !m_brush || !m_hwnd ||
        reinterpret_cast<HWND>(lParam) != m_hwnd)
        return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, m_text);
    SetBkColor(dc, m_background);
    return reinterpret_cast<LRESULT>(m_brush);
}
