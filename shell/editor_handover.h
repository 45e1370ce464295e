#pragma once
// The rules of handing a picture to the maker's image editor "Zephra" that need no window:
// the names it is reached by and the temporary file it is started with.
#include <string>

extern const char kEditorProgramName[];    // "Zephra": window registry entry and install record value
extern const char kEditorClipboardFormat[]; // "ZephraPicture"
extern const char kEditorInstallKey[];     // "Software\Ostrel\Software\" under HKEY_CURRENT_USER
constexpr unsigned kEditorPictureMessage = 0x0400 + 100; // WM_USER + 100, wParam = the format

// The file name of the temporary bitmap the editor is started with: the file name part of the
// picture's description with the extension ".bmp" (the file holds a bitmap whatever the
// original was), characters no file name may hold replaced by "_"; "<seconds>.bmp" when the
// description has no usable name.
std::string EditorHandoverFileName(const std::string& description, long long seconds);
