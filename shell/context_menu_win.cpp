#include "shell/context_menu_win.h"

#include <commctrl.h>

#include "base/text_win.h"

namespace {
// The item the keyboard works on: the focused one when selected, else the first selected.
int KeyboardItem(HWND list)
{
    const int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused >= 0 && (SendMessageA(list, LVM_GETITEMSTATE, focused, LVIS_SELECTED) & LVIS_SELECTED))
        return focused;
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool IsListView(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, WC_LISTVIEWA) == 0;
}
} // namespace

POINT ContextMenuPoint(HWND list, LPARAM messagePoint)
{
    if (messagePoint != -1) {
        // Coordinates may be negative on a monitor left of or above the primary one.
        return POINT{static_cast<short>(LOWORD(messagePoint)), static_cast<short>(HIWORD(messagePoint))};
    }
    POINT at{0, 0};
    if (list && IsListView(list)) {
        const int item = KeyboardItem(list);
        RECT label{};
        label.left = LVIR_LABEL;
        if (item >= 0 && SendMessageA(list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&label))) {
            RECT client{};
            GetClientRect(list, &client);
            // Under the label's left part, kept inside the list.
            at.x = label.left + (label.right - label.left) / 4;
            at.y = label.bottom;
            at.x = at.x < client.left ? client.left : (at.x > client.right ? client.right : at.x);
            at.y = at.y < client.top ? client.top : (at.y > client.bottom ? client.bottom : at.y);
        }
    }
    if (list)
        ClientToScreen(list, &at);
    return at;
}

UINT ShowContextMenu(HWND owner, UINT menuId, POINT at, const ContextMenuPreparer& prepare, int position)
{
    HMENU menu = LoadMenuInTextLanguage(GetModuleHandleA(nullptr), menuId);
    if (!menu)
        return 0;
    UINT chosen = 0;
    if (HMENU popup = GetSubMenu(menu, position)) {
        if (prepare)
            prepare(popup);
        // TPM_RETURNCMD so that the caller learns the command; it is then sent as a menu would.
        chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                  at.x, at.y, 0, owner, nullptr));
    }
    DestroyMenu(menu);
    if (chosen != 0 && owner)
        SendMessageA(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return chosen;
}

UINT ShowListContextMenu(HWND owner, HWND list, UINT menuId, LPARAM messagePoint, const ContextMenuPreparer& prepare,
                         int position)
{
    return ShowContextMenu(owner, menuId, ContextMenuPoint(list, messagePoint), prepare, position);
}
