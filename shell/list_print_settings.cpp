#include "shell/list_print_settings.h"

#include "app/settings.h"

const char* const kListPrintingSection = "Options\\ListPrinting\\";

ListPrintSettings::ListPrintSettings()
{
    headerFont.height = 12;
    footerFont.height = 12;
    tabHeaderFont.weight = 700;
}

namespace {
// The fields of a font, in LOGFONT order; the face name is kept under "lfFaceName".
template <class Visit>
void ForEachFontField(PrintFontSpec& font, Visit visit)
{
    visit("lfHeight", font.height);
    visit("lfWidth", font.width);
    visit("lfEscapement", font.escapement);
    visit("lfOrientation", font.orientation);
    visit("lfWeight", font.weight);
    visit("lfItalic", font.italic);
    visit("lfUnderline", font.underline);
    visit("lfStrikeOut", font.strikeOut);
    visit("lfCharSet", font.charSet);
    visit("lfOutPrecision", font.outPrecision);
    visit("lfClipPrecision", font.clipPrecision);
    visit("lfQuality", font.quality);
    visit("lfPitchAndFamily", font.pitchAndFamily);
}

template <class Visit>
void ForEachSetting(ListPrintSettings& s, Visit visit)
{
    visit("Margin_Left", s.marginLeft);
    visit("Margin_Top", s.marginTop);
    visit("Margin_Right", s.marginRight);
    visit("Margin_Bottom", s.marginBottom);
    visit("Margin_Cell", s.cellMargin);
    visit("Header_Height", s.headerHeight);
    visit("Footer_Height", s.footerHeight);
}

template <class Visit>
void ForEachColour(ListPrintSettings& s, Visit visit)
{
    visit("Header_Color", s.headerColour);
    visit("Footer_Color", s.footerColour);
    visit("TabHeaderTextColor", s.tabHeaderTextColour);
    visit("TabHeaderBackgroundColor", s.tabHeaderBackground);
    visit("TextColor", s.textColour);
    visit("TextBackgroundColor0", s.rowBackground0);
    visit("TextBackgroundColor1", s.rowBackground1);
}

template <class Visit>
void ForEachText(ListPrintSettings& s, Visit visit)
{
    visit("Header_LeftText", s.headerLeft);
    visit("Header_CenterText", s.headerCenter);
    visit("Header_RightText", s.headerRight);
    visit("Footer_LeftText", s.footerLeft);
    visit("Footer_CenterText", s.footerCenter);
    visit("Footer_RightText", s.footerRight);
}

template <class Visit>
void ForEachFont(ListPrintSettings& s, Visit visit)
{
    visit("Header_Font_", s.headerFont);
    visit("Footer_Font_", s.footerFont);
    visit("TextFont_", s.textFont);
    visit("TabHeaderFont_", s.tabHeaderFont);
}
} // namespace

ListPrintSettings LoadListPrintSettings()
{
    ListPrintSettings s;
    CQnSettings settings;
    const std::string section = kListPrintingSection;
    auto readInt = [&](const char* name, int& value) { value = settings.ReadInt(section, name, value); };
    ForEachSetting(s, readInt);
    s.headerEnabled = settings.ReadInt(section, "Header_bEnable", 1) != 0;
    s.footerEnabled = settings.ReadInt(section, "Footer_bEnable", 1) != 0;
    ForEachColour(s, [&](const char* name, uint32_t& colour) {
        colour = static_cast<uint32_t>(settings.ReadInt(section, name, static_cast<int>(colour))) & 0xFFFFFF;
    });
    ForEachText(s, [&](const char* name, std::string& text) { text = settings.ReadString(section, name, text); });
    ForEachFont(s, [&](const std::string& prefix, PrintFontSpec& font) {
        ForEachFontField(font, [&](const char* field, int& value) {
            value = settings.ReadInt(section, prefix + field, value);
        });
        font.face = settings.ReadString(section, prefix + "lfFaceName", font.face).substr(0, 31);
    });
    return s;
}

void SaveListPrintSettings(const ListPrintSettings& stored)
{
    ListPrintSettings s = stored;
    CQnSettings settings;
    const std::string section = kListPrintingSection;
    auto writeInt = [&](const char* name, int& value) { settings.WriteInt(section, name, value); };
    ForEachSetting(s, writeInt);
    settings.WriteInt(section, "Header_bEnable", s.headerEnabled ? 1 : 0);
    settings.WriteInt(section, "Footer_bEnable", s.footerEnabled ? 1 : 0);
    ForEachColour(s, [&](const char* name, uint32_t& colour) {
        settings.WriteInt(section, name, static_cast<int>(colour));
    });
    ForEachText(s, [&](const char* name, std::string& text) { settings.WriteString(section, name, text); });
    ForEachFont(s, [&](const std::string& prefix, PrintFontSpec& font) {
        ForEachFontField(font, [&](const char* field, int& value) {
            settings.WriteInt(section, prefix + field, value);
        });
        settings.WriteString(section, prefix + "lfFaceName", font.face);
    });
}
