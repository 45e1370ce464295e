#pragma once
// Reading and clicking the common controls of the toolbox's process from a test: list columns,
// item rectangles and the folder browser, through memory inside that process.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/support/remote_process_win.h"

namespace e2e {
// The texts of one column of a list view, row by row.
inline std::vector<std::string> ListColumnTexts(HANDLE process, HWND list, int column)
{
    struct Block {
        LVITEMA item;
        char text[MAX_PATH];
    };
    RemoteBuffer remote(process, sizeof(Block));
    std::vector<std::string> texts;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote && row < rows; ++row) {
        Block block{};
        block.item.iSubItem = column;
        block.item.pszText = reinterpret_cast<char*>(remote.Address() + offsetof(Block, text));
        block.item.cchTextMax = MAX_PATH;
        remote.Write(&block, sizeof block);
        SendMessageA(list, LVM_GETITEMTEXTA, row, remote.Address());
        remote.Read(&block, sizeof block);
        block.text[MAX_PATH - 1] = '\0';
        texts.push_back(block.text);
    }
    return texts;
}

// A rectangle that a control writes into memory of its own process (`firstField` goes in first,
// for messages that take a part code in the rectangle's left).
inline bool RemoteRect(HANDLE process, HWND control, UINT message, WPARAM wParam, RECT& rect, LONG firstField = 0)
{
    RemoteBuffer buffer(process, sizeof(RECT));
    rect = RECT{firstField, 0, 0, 0};
    return buffer && buffer.Write(&rect, sizeof rect) && SendMessageA(control, message, wParam, buffer.Address()) &&
           buffer.Read(&rect, sizeof rect);
}

// Posts a click (and with `twice` a double click) at the centre of a rectangle of the control
// (client coordinates).
inline void ClickAt(HWND control, const RECT& rect, bool twice = false)
{
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(control, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(control, WM_LBUTTONUP, 0, at);
    }
}

// Tells an open folder browser `folder` until `selected(tree)` says its tree shows it: the
// browser takes the folder only once its tree is filled. False when that never happens.
inline bool SelectInFolderBrowser(HANDLE process, HWND browser, const std::string& folder,
                                  const std::function<bool(HWND tree)>& selected)
{
    RemoteBuffer text(process, folder.size() + 1);
    if (!text || !text.Write(folder.c_str(), folder.size() + 1))
        return false;
    HWND tree = FindDescendantByClass(browser, WC_TREEVIEWA);
    return WaitFor([&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, TRUE, text.Address(), SMTO_BLOCK, 10000, &result);
        return selected(tree);
    });
}
} // namespace e2e
