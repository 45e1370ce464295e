#pragma once
// Hands a picture to the maker's image editor "Zephra": on the clipboard in the format
// "ZephraPicture" with WM_USER+100 posted to the running editor (window registry); else the
// installed editor started with a temporary 24-bit bitmap; else the message saying where to
// download it. Used by every "&Edit" of the picture modules.
#include <windows.h>

class CPicture;

void HandPictureToEditor(HWND owner, const CPicture& picture);
