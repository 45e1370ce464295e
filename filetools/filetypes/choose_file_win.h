#pragma once
// The open-file dialog of the data types and the icon picker: a filter text from the string
// table ("name|pattern|...||"), a title, a default extension and a starting folder.
#include <windows.h>

#include <string>

struct ChooseFileRequest {
    unsigned filterTextId = 0;
    std::string title;          // empty: the system's title
    const char* defaultExtension = nullptr;
    std::string initialFolder;  // empty: the current folder
    DWORD extraFlags = 0;       // OFN_ flags beyond OFN_HIDEREADONLY
};

// The chosen path, or empty when the user cancelled.
std::string ChooseFileToOpen(HWND owner, const ChooseFileRequest& request);
