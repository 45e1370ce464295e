#pragma once
// Applies a desktop theme file to the running system: writes the values it names into the
// registry (theme_file.h), sets the system colours of its "[Control Panel\Colors]" section
// for the running session, and tells every top-level window that the display changed.
#include <string>

// False when the file cannot be read (missing, unreadable or beyond any theme's size); then
// nothing is written.
bool ApplyThemeFile(const std::string& path);

// Writes the default theme to "qndef.thm" in `folder` (CR LF line ends) and applies it; false
// when the file cannot be written.
bool ApplyDefaultTheme(const std::string& folder);
