#include "shell/controls/dx_combo_win.h"

#include <algorithm>

namespace {
constexpr int kIconSize = 16;
constexpr int kGap = 4;
} // namespace

CDxCombo::~CDxCombo()
{
    // The items' records go with this object, so the combo box it made goes too.
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    m_parentHook.Remove();
}

bool CDxCombo::CreateControl(HWND parent, UINT id, const RECT& rect, DWORD style)
{
    m_id = id;
    // The parent is asked for the item height while the combo box is being created.
    if (!m_parentHook.Install(parent, [this](UINT message, WPARAM wParam, LPARAM lParam) {
            return OnParentMessage(message, wParam, lParam);
        }))
        return false;
    HWND combo = CreateWindowExA(0, "COMBOBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_OWNERDRAWFIXED |
                                     CBS_HASSTRINGS | CBS_AUTOHSCROLL | style,
                                 rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!combo || !Subclass(combo)) {
        m_parentHook.Remove();
        return false;
    }
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

int CDxCombo::AddItem(const std::string& text, LPARAM data, HICON icon)
{
    if (!m_hwnd)
        return -1;
    const LRESULT index = SendMessageA(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    m_items.push_back({data, icon});
    SendMessageA(m_hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(m_items.size() - 1));
    return static_cast<int>(index);
}

int CDxCombo::FindItem(const std::string& text) const
{
    if (!m_hwnd)
        return -1;
    const LRESULT index =
        SendMessageA(m_hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

int CDxCombo::Count() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, CB_GETCOUNT, 0, 0)) : 0; }

void CDxCombo::Clear()
{
    if (m_hwnd)
        SendMessageA(m_hwnd, CB_RESETCONTENT, 0, 0);
    m_items.clear();
}

std::string CDxCombo::ItemText(int index) const
{
    if (!m_hwnd)
        return {};
    const LRESULT length = SendMessageA(m_hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(m_hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

const CDxCombo::Item* CDxCombo::RecordOf(int index) const
{
    if (!m_hwnd || index < 0)
        return nullptr;
    const LRESULT record = SendMessageA(m_hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (record == CB_ERR || record < 0 || static_cast<size_t>(record) >= m_items.size())
        return nullptr;
    return &m_items[static_cast<size_t>(record)];
}

LPARAM CDxCombo::ItemData(int index) const
{
    const Item* item = RecordOf(index);
    return item ? item->data : 0;
}

int CDxCombo::Selection() const
{
    if (!m_hwnd)
        return -1;
    const LRESULT index = SendMessageA(m_hwnd, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void CDxCombo::Select(int index)
{
    if (m_hwnd)
        SendMessageA(m_hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::optional<LPARAM> CDxCombo::SelectedData() const
{
    const Item* item = RecordOf(Selection());
    if (!item)
        return std::nullopt;
    return item->data;
}

std::optional<LRESULT> CDxCombo::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_COMBOBOX || measure->CtlID != m_id)
            return std::nullopt;
        TEXTMETRICA metrics{};
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        measure->itemHeight = static_cast<UINT>(std::max<LONG>(kIconSize, metrics.tmHeight) + 2);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_COMBOBOX || !m_hwnd || draw->hwndItem != m_hwnd)
            return std::nullopt;
        DrawItem(*draw);
        return TRUE;
    }
    (void)wParam;
    return std::nullopt;
}

void CDxCombo::DrawItem(const DRAWITEMSTRUCT& draw) const
{
    HDC dc = draw.hDC;
    RECT rect = draw.rcItem;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = (draw.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(draw.itemID) < 0)
        return; // an empty edit field
    const int index = static_cast<int>(draw.itemID);
    if (const Item* item = RecordOf(index); item && item->icon)
        DrawIconEx(dc, rect.left + 2, rect.top + (rect.bottom - rect.top - kIconSize) / 2, item->icon, kIconSize,
                   kIconSize, 0, nullptr, DI_NORMAL);
    const std::string text = ItemText(index);
    RECT textRect = rect;
    textRect.left += 2 + kIconSize + kGap;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (draw.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rect);
}
