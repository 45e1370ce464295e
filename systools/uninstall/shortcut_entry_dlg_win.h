#pragma once
// The name-and-command dialog (dialog 271, "Quenta - Create shortcut"): a name, a command
// line and the icon of the program, chosen by typing, browsing or dropping a file. The
// uninstall manager edits its entries with it, the application shortcuts their links.
#include <windows.h>

#include <string>

// Opens the dialog over `owner` with `name` and `command`; with browseAtOnce the file dialog
// opens at once. True on OK, with both texts taken whole into `name` and `command`; on Cancel
// both stay as they were.
bool ShortcutEntryDlg(HWND owner, std::string& name, std::string& command, bool browseAtOnce);
