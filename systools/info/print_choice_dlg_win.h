#pragma once
// The print choice of the Windows information (dialog 262): the information list or the
// current tab's file list. The choice is preselected from the settings and stored on OK.
#include <windows.h>

#include <optional>

// True: the information list; false: the file list; nothing when the user cancelled.
std::optional<bool> AskPrintChoice(HWND owner);
