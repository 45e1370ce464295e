#pragma once
// Icons from files: shell32's numbered icons and icon location texts (Windows).
#include <windows.h>

#include <string>

// The Windows folder ("C:\WINDOWS", no trailing separator) and the system folder.
std::string WindowsFolder();
std::string SystemFolder();

// Icon number `index` of shell32.dll in the system folder, 16 or 32 pixels; when that file
// yields none, the program's own icon resource `fallbackResource` (0: none). Caller destroys it.
HICON ShellIcon(int index, bool small, unsigned fallbackResource);

// The large icon of an icon location text ("%SystemRoot%" expanded); null when it yields none.
HICON LoadIconFromLocation(const std::string& location);
// The small or large icon of an icon location, by the extraction call that returns both sizes.
HICON LoadIconPairFromLocation(const std::string& location, bool small);

// Destroys an icon that may be null.
void DestroyIconIfAny(HICON icon);
