#pragma once
// The installed font families as the font list shows them: each family once (the system names
// a family once per character set), by name ignoring case; vertical-writing faces ("@...")
// left out.
#include <string>
#include <vector>

struct FontFamily {
    std::string face;
    int charSet = 1; // the character set to draw the face in (DEFAULT_CHARSET)
};

std::vector<FontFamily> UniqueFamilies(std::vector<FontFamily> families);
