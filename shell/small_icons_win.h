#pragma once
// The system's small-icon image list (shared, never destroyed by the lists that show it) and a
// file's place in it.
#include <windows.h>

#include <commctrl.h>

#include <string>

HIMAGELIST SystemSmallIcons();
// The file's small icon in SystemSmallIcons(), or -1.
int SmallIconIndexOf(const std::string& path);
