#pragma once
// Print layout, fonts and colours of report lists (section "Options\ListPrinting\"), read at
// the start of every print job and HTML export.
#include <cstdint>
#include <string>

struct PrintFontSpec {
    int height = 14, width = 0, escapement = 0, orientation = 0, weight = 400;
    int italic = 0, underline = 0, strikeOut = 0, charSet = 1;
    int outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string face = "Arial";
};

struct ListPrintSettings {
    int marginLeft = 1, marginTop = 1, marginRight = 1, marginBottom = 1; // millimetres
    int cellMargin = 2;
    bool headerEnabled = true, footerEnabled = true;
    int headerHeight = 15, footerHeight = 15; // millimetres
    uint32_t headerColour = 0, footerColour = 0;
    std::string headerLeft = "&&[File] - &&[Date] &&[Hour]", headerCenter, headerRight;
    std::string footerLeft, footerCenter = "Page : &&[Page] / &&[Pages]", footerRight;
    uint32_t tabHeaderTextColour = 0xFFFFFF, tabHeaderBackground = 0x000000, textColour = 0x000000;
    uint32_t rowBackground0 = 0xFFFFFF, rowBackground1 = 0xF0FFFF;
    PrintFontSpec headerFont, footerFont, textFont, tabHeaderFont;

    ListPrintSettings();
};

extern const char* const kListPrintingSection;

// The settings as stored, each missing value replaced by its default.
ListPrintSettings LoadListPrintSettings();
// Writes every value (used by the print options and by tests).
void SaveListPrintSettings(const ListPrintSettings& settings);
