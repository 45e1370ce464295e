#pragma once
// The system's image lists of file icons, shared by every list of the process. The system owns
// them: a list view that shows one must have LVS_SHAREIMAGELISTS, so that destroying the list
// leaves the image list alone.
#include <windows.h>

#include <commctrl.h>

#include <string>

// The system's 16 x 16 / 32 x 32 file icons (never destroy them).
HIMAGELIST SystemSmallImageList();
HIMAGELIST SystemLargeImageList();

// Index of the small icon of an existing file, folder or drive in the system list (the shell
// reads the file for its own icon); -1 when the shell has none.
int SystemSmallIconIndex(const std::string& path);
// Index of the generic small icon of a file or a folder, without touching the disk; -1 when
// the shell has none.
int GenericSmallIconIndex(bool folder);

// Shows the shared small-icon list in a list view (small and report modes) and marks the list
// view as not owning its image lists.
void AttachSystemSmallImages(HWND listView);
