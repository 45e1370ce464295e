#pragma once
// The shared picture open dialog: the system's file-open dialog with a preview of the
// selected picture beside it, which the user switches on and off ("EnablePreview" of the
// section "LoadPicture").
#include <windows.h>

#include <string>
#include <vector>

struct PictureOpenOptions {
    std::string title;
    std::string filter;           // "Text|*.txt|All|*.*" form, e.g. GetOpenFilterString()
    std::string defaultExtension; // without the dot, e.g. "BMP"
    std::string initialFolder;    // ignored when empty or missing
    bool multiSelect = false;
};

// Shows the dialog; returns the chosen paths, empty when the user cancelled.
std::vector<std::string> RunPictureOpenDialog(HWND owner, const PictureOpenOptions& options);

// Ids of the dialog's own controls (tests find them inside the dialog).
enum PictureOpenControlId : int {
    IDC_PICTURE_OPEN_PREVIEW_CHECK = 2000,
    IDC_PICTURE_OPEN_PREVIEW = 2001, // the area showing the picture
    IDC_PICTURE_OPEN_SIZE = 2002,    // the shown picture's size, "640 x 480"
};
