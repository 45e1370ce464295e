#pragma once
// Name and small icon of a desktop object for the roots of folder trees (Windows).
#include <windows.h>

#include <string>

#include "filetools/filetypes/desktop_objects.h"

struct DesktopObjectLook {
    std::string name;
    HICON icon = nullptr; // the caller destroys it
};

// The name and icon from the object's class entries (FindDesktopObjectEntry); without a name
// "My Computer" or "Network Neighborhood" from the string table; without an icon the shell's
// large icon of "explorer.exe" in the Windows folder.
DesktopObjectLook DesktopObjectNameAndIcon(DesktopObject which);
