#pragma once
// Context menus of a view: a sub-menu of a menu resource (in the language of the texts),
// opened at the mouse, or, when the keyboard asked (Shift+F10, the menu key), under the
// selected item of the list. The chosen command goes to the view as WM_COMMAND, like a
// command of the main menu.
#include <windows.h>

#include <functional>

// Prepares the menu before it opens (gray or check items).
using ContextMenuPreparer = std::function<void(HMENU menu)>;

// Where the menu of a list opens, in screen coordinates. `messagePoint` is WM_CONTEXTMENU's
// lParam (or GetMessagePos() for a list's NM_RCLICK): a screen point from the mouse, or -1
// from the keyboard; then the point lies under the focused selected item of a list view (its
// first selected item; the list's top left when none is selected or it is no list view).
POINT ContextMenuPoint(HWND list, LPARAM messagePoint);

// Opens sub-menu `position` of menu `menuId` at `at` and sends the chosen command to `owner`
// (WM_COMMAND, as a menu does). Returns the command, or 0 when the menu was dismissed or
// cannot be loaded.
UINT ShowContextMenu(HWND owner, UINT menuId, POINT at, const ContextMenuPreparer& prepare = {}, int position = 0);

// Both in one, for a list's WM_CONTEXTMENU (or NM_RCLICK with the cursor position).
UINT ShowListContextMenu(HWND owner, HWND list, UINT menuId, LPARAM messagePoint,
                         const ContextMenuPreparer& prepare = {}, int position = 0);
