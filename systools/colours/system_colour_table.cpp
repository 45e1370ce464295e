#include "systools/colours/system_colour_table.h"

#include <array>
#include <cctype>

#include "res/resource.h"

namespace {
constexpr std::array<SystemColourRow, kSystemColourRows> kTable{{
    {21, "ButtonDkShadow", IDS_COLOR_3DDKSHADOW, MakeColour(0, 0, 0)},
    {15, "ButtonFace", IDS_COLOR_3DFACE, MakeColour(192, 192, 192)},
    {20, "ButtonHilight", IDS_COLOR_3DHILIGHT, MakeColour(255, 255, 255)},
    {22, "ButtonLight", IDS_COLOR_3DLIGHT, MakeColour(223, 223, 223)},
    {16, "3DShadow", IDS_COLOR_3DSHADOW, MakeColour(128, 128, 128)},
    {10, "ActiveBorder", IDS_COLOR_ACTIVEBORDER, MakeColour(192, 192, 192)},
    {2, "ActiveTitle", IDS_COLOR_ACTIVECAPTION, MakeColour(0, 0, 128)},
    {12, "AppWorkspace", IDS_COLOR_APPWORKSPACE, MakeColour(128, 128, 128)},
    {1, "Background", IDS_COLOR_BACKGROUND, MakeColour(0, 128, 128)},
    {20, "ButtonHilight", IDS_COLOR_BTNHILIGHT, MakeColour(255, 255, 255)},
    {16, "ButtonShadow", IDS_COLOR_BTNSHADOW, MakeColour(128, 128, 128)},
    {18, "ButtonText", IDS_COLOR_BTNTEXT, MakeColour(0, 0, 0)},
    {9, "TitleText", IDS_COLOR_CAPTIONTEXT, MakeColour(255, 255, 255)},
    {17, "GrayText", IDS_COLOR_GRAYTEXT, MakeColour(128, 128, 128)},
    {13, "Hilight", IDS_COLOR_HIGHLIGHT, MakeColour(0, 0, 128)},
    {14, "HilightText", IDS_COLOR_HIGHLIGHTTEXT, MakeColour(255, 255, 255)},
    {11, "InactiveBorder", IDS_COLOR_INACTIVEBORDER, MakeColour(192, 192, 192)},
    {3, "InactiveTitle", IDS_COLOR_INACTIVECAPTION, MakeColour(128, 128, 128)},
    {19, "InactiveTitleText", IDS_COLOR_INACTIVECAPTIONTEXT, MakeColour(192, 192, 192)},
    {24, "InfoBackground", IDS_COLOR_INFOBK, MakeColour(255, 255, 225)},
    {23, "InfoText", IDS_COLOR_INFOTEXT, MakeColour(0, 0, 0)},
    {4, "Menu", IDS_COLOR_MENU, MakeColour(192, 192, 192)},
    {0, "Scrollbar", IDS_COLOR_SCROLLBAR, MakeColour(192, 192, 192)},
    {5, "Window", IDS_COLOR_WINDOW, MakeColour(255, 255, 255)},
    {6, "WindowFrame", IDS_COLOR_WINDOWFRAME, MakeColour(0, 0, 0)},
    {8, "WindowText", IDS_COLOR_WINDOWTEXT, MakeColour(0, 0, 0)},
}};

// Names the system stores under "Control Panel\Colors" beside those of the table.
struct OtherKey {
    const char* name;
    int index;
};
constexpr OtherKey kOtherKeys[] = {
    {"MenuText", 7},          {"InfoWindow", 24},         {"ButtonAlternateFace", 25},
    {"HotTrackingColor", 26}, {"GradientActiveTitle", 27}, {"GradientInactiveTitle", 28},
    {"MenuHilight", 29},      {"MenuBar", 30},
};

bool SameName(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}
} // namespace

std::span<const SystemColourRow, kSystemColourRows> SystemColourTable() { return kTable; }

std::optional<int> SystemColourIndexOfKey(const std::string& keyName)
{
    for (const SystemColourRow& row : kTable)
        if (SameName(keyName, row.keyName))
            return row.index;
    for (const OtherKey& other : kOtherKeys)
        if (SameName(keyName, other.name))
            return other.index;
    return std::nullopt;
}

std::optional<ColourRef> ParseThemeColour(const std::string& text)
{
    int parts[3] = {};
    size_t at = 0;
    for (int& part : parts) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        const size_t first = at;
        int value = 0;
        for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - first < 3; ++at)
            value = value * 10 + (text[at] - '0');
        if (at == first || value > 255 || (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))))
            return std::nullopt;
        part = value;
    }
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    if (at != text.size())
        return std::nullopt;
    return MakeColour(uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2]));
}
