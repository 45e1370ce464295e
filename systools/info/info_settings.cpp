#include "systools/info/info_settings.h"

#include <algorithm>

#include "app/settings.h"

namespace {
const char kPrintSection[] = "WinInfoPrint";
const char kPrintValue[] = "WindowsInformation";
const char kViewerSection[] = "FontViewer";
const char kViewerSize[] = "Size";
} // namespace

bool ReadPrintsWindowsInformation() { return CQnSettings().ReadInt(kPrintSection, kPrintValue, 1) != 0; }

void StorePrintChoice(bool windowsInformation) { CQnSettings().WriteInt(kPrintSection, kPrintValue, windowsInformation ? 1 : 0); }

int ClampFontViewerSize(int size) { return std::clamp(size, kFontViewerMinSize, kFontViewerMaxSize); }

int ReadFontViewerSize()
{
    return ClampFontViewerSize(CQnSettings().ReadInt(kViewerSection, kViewerSize, kFontViewerDefaultSize));
}

void StoreFontViewerSize(int size) { CQnSettings().WriteInt(kViewerSection, kViewerSize, ClampFontViewerSize(size)); }

std::string FontViewerCharacters()
{
    std::string text;
    for (int c = 1; c <= 255; ++c)
        text += static_cast<char>(c);
    return text;
}
