#pragma once
// The file dialog of "Add File(s)": several pictures at once, starting in `initialFolder`.
#include <windows.h>

#include <string>
#include <vector>

// The chosen paths; empty when the user cancelled.
std::vector<std::string> ChoosePicturesToAdd(HWND owner, const std::string& initialFolder);
