#pragma once
// The shell's own context menu for files of one folder, shown at a screen point; the chosen
// command is carried out by the shell.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Shows the menu for `paths` (all in one folder) at `screenPoint`, owned by `owner`. Nothing
// happens when the paths are empty, lie in several folders or are unknown to the shell.
void ShowShellContextMenu(HWND owner, const std::vector<std::string>& paths, POINT screenPoint);

// The chosen command's verb ("open", "properties", "delete", ...; empty when it has none);
// true when the caller carried the command out itself, so the shell does not.
using ShellVerbHandler = std::function<bool(const std::string& verb)>;
// The same menu; each chosen command goes to `takeVerb` first.
void ShowShellContextMenu(HWND owner, const std::vector<std::string>& paths, POINT screenPoint,
                          const ShellVerbHandler& takeVerb);
