#include "framework/form_view.h"

bool CFormView::CreateView(HWND frame, UINT id)
{
    if (!CreateModeless(frame))
        return false;
    // Templates may carry popup styles; a view is always a bordered child.
    LONG_PTR style = GetWindowLongPtrA(m_hwnd, GWL_STYLE);
    style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU);
    style |= WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    SetWindowLongPtrA(m_hwnd, GWL_STYLE, style);
    SetParent(m_hwnd, frame);
    SetWindowLongPtrA(m_hwnd, GWLP_ID, id);
    return true;
}
