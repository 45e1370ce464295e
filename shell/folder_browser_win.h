#pragma once
// The shell's folder browser.
#include <windows.h>

#include <string>

// The chosen folder, or an empty text when the user cancelled.
std::string BrowseForFolder(HWND owner, const std::string& title);
