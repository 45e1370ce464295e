#include "shell/pending_module_view_win.h"

#include "base/text.h"
#include "shell/gdi_helpers_win.h"
#include "shell/qn_form_view_win.h"

CPendingModuleView::CPendingModuleView(unsigned titleId) : CQnFormView(&EmptyFormTemplate()), m_titleId(titleId) {}

std::optional<LRESULT> CPendingModuleView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT client;
        GetClientRect(m_hwnd, &client);
        GdiObject<HFONT> font(CreateSimpleFont("Arial", -20, FW_BOLD));
        SelectInDC select(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        const std::string title = LoadText(m_titleId);
        DrawTextA(dc, title.c_str(), -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    if (message == WM_SIZE)
        InvalidateRect(m_hwnd, nullptr, TRUE);
    return CQnFormView::OnMessage(message, wParam, lParam);
}
