#pragma once
// The shell's own context menu for files of one folder, shown at a screen point; the chosen
// command is carried out by the shell.
#include <windows.h>

#include <string>
#include <vector>

// Shows the menu for `paths` (all in one folder) at `screenPoint`, owned by `owner`. Nothing
// happens when the paths are empty, lie in several folders or are unknown to the shell.
void ShowShellContextMenu(HWND owner, const std::vector<std::string>& paths, POINT screenPoint);
