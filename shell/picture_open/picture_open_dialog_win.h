#pragma once
// The shared picture open dialog: the system's file-open dialog with a preview of the
// selected picture beside it, which the user switches on and off ("EnablePreview" of the
// section "LoadPicture").
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"  // ids of the dialog's own controls

struct PictureOpenOptions {
    std::string title;
    std::string filter;           // "Text|*.txt|All|*.*" form, e.g. GetOpenFilterString()
    std::string defaultExtension; // without the dot, e.g. "BMP"
    std::string initialFolder;    // ignored when empty or missing
    bool multiSelect = false;
};

// Shows the dialog; returns the chosen paths, empty when the user cancelled.
std::vector<std::string> RunPictureOpenDialog(HWND owner, const PictureOpenOptions& options);
