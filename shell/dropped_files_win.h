#pragma once
// The paths of files dropped from the shell on a window (WM_DROPFILES).
#include <windows.h>

#include <string>
#include <vector>

// Reads every path of the drop and releases it.
std::vector<std::string> TakeDroppedFiles(HDROP drop);
