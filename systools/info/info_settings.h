#pragma once
// The information modules' settings in the product's settings store: the print choice of the
// Windows information ("WinInfoPrint") and the font viewer's size ("FontViewer").
#include <string>

// True: the information list is printed (the default); false: the current tab's file list.
bool ReadPrintsWindowsInformation();
void StorePrintChoice(bool windowsInformation);

// The font viewer's character height, 0 to 400 (default 16; a stored value outside the range
// is brought into it).
constexpr int kFontViewerMinSize = 0;
constexpr int kFontViewerMaxSize = 400;
constexpr int kFontViewerDefaultSize = 16;
int ClampFontViewerSize(int size);
int ReadFontViewerSize();
void StoreFontViewerSize(int size);

// The text the font viewer shows: the characters 1 to 255 in one string.
std::string FontViewerCharacters();
