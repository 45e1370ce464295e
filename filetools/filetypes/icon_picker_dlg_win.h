#pragma once
// The icon picker "Select a new icon" (dialog 196): every icon of a file, labelled "# 0",
// "# 1", ...; another file through "..." or dropped on the dialog. Used by the data types,
// the disk icons and the shell settings.
#include <windows.h>

#include <string>
#include <vector>

// Runs the picker on an icon location text ("file,index"); on Apply the location becomes
// "%s,%d" of the shown file and the chosen icon and the result is true. Cancel leaves it.
bool IconPickerDlg(HWND owner, std::string& iconLocation);

// Every large icon of `file`, extracted with index 0, 1, 2, ... until one fails. The caller
// destroys them.
std::vector<HICON> ExtractAllIcons(const std::string& file);
