#pragma once
// The font viewer (dialog 159): the characters 1 to 255 in one font family at a height the user
// chooses (0 to 400, redrawn at once); the height is kept in the settings when the viewer closes.
#include <windows.h>

#include "systools/info/font_families.h"

void ShowFontViewer(HWND owner, const FontFamily& family);
