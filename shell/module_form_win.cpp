#include "shell/module_form_win.h"

#include "base/text.h"

void ApplyControlTexts(HWND form, std::span<const FormText> texts)
{
    for (const FormText& text : texts)
        SetDlgItemTextA(form, text.controlId, LoadText(text.textId).c_str());
}

void CFormLayout::Capture(HWND form, std::span<const ControlAnchor> anchors)
{
    m_form = form;
    m_placed.clear();
    RECT client;
    GetClientRect(form, &client);
    m_first = {client.right, client.bottom};
    for (const ControlAnchor& anchor : anchors) {
        RECT rect;
        if (!GetWindowRect(GetDlgItem(form, anchor.controlId), &rect))
            continue;
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
        m_placed.push_back({anchor.controlId, anchor.edges, {rect.left, rect.top, rect.right, rect.bottom}});
    }
}

void CFormLayout::Apply(int width, int height) const
{
    if (m_placed.empty())
        return;
    const int grownX = width - static_cast<int>(m_first.cx), grownY = height - static_cast<int>(m_first.cy);
    HDWP positions = BeginDeferWindowPos(static_cast<int>(m_placed.size()));
    for (const Placed& placed : m_placed) {
        HWND control = GetDlgItem(m_form, placed.controlId); // a replaced control keeps its id
        if (!control || !positions)
            continue;
        const AnchorRect at = AnchoredRect(placed.rect, placed.edges, grownX, grownY);
        positions = DeferWindowPos(positions, control, nullptr, at.left, at.top, at.right - at.left,
                                   at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
}
