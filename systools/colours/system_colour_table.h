#pragma once
// The display colours the "Windows Colors" module lists: 26 rows in a fixed order, each with
// its system colour index, its key name under "[Control Panel\Colors]" and its description
// text. Indexes 20 and 16 are listed twice (two names for one colour); both rows act on the
// same system colour.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// A colour as the system keeps it: red in the low byte, then green, then blue.
using ColourRef = uint32_t;

constexpr ColourRef MakeColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return ColourRef(red) | ColourRef(green) << 8 | ColourRef(blue) << 16;
}
constexpr uint8_t RedOf(ColourRef colour) { return uint8_t(colour); }
constexpr uint8_t GreenOf(ColourRef colour) { return uint8_t(colour >> 8); }
constexpr uint8_t BlueOf(ColourRef colour) { return uint8_t(colour >> 16); }

struct SystemColourRow {
    int index;             // the system colour index (COLOR_...)
    const char* keyName;   // as in "[Control Panel\Colors]"
    unsigned descriptionId;
    ColourRef defaultColour; // the built-in default set
};

constexpr int kSystemColourRows = 26;

std::span<const SystemColourRow, kSystemColourRows> SystemColourTable();

// The system colour index a "[Control Panel\Colors]" key name stands for: the table's names
// and the other names the system itself stores there ("MenuText", "InfoWindow", ...), any
// letter case. Nothing for an unknown name.
std::optional<int> SystemColourIndexOfKey(const std::string& keyName);

// "R G B" as a theme file writes a colour ("0 0 128"): three decimal parts of 0 to 255
// separated by blanks. Nothing for any other text.
std::optional<ColourRef> ParseThemeColour(const std::string& text);
