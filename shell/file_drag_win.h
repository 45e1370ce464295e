#pragma once
// Dragging files out of a list into the shell (CF_HDROP).
#include <string>
#include <vector>

// Runs a shell drag-and-drop of `paths` (copy or link; move too when allowed: the files of a
// file list, whose list drops the rows of files that went) until the user drops or cancels.
void DragFilesOut(const std::vector<std::string>& paths, bool allowMove = false);
