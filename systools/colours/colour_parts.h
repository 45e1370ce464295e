#pragma once
// The red, green and blue parts the user types for a colour. The preview shows each part
// clamped to 0..255; Apply takes each part modulo 256 (a typed 300 previews as 255 and
// applies as 44).
#include <string>

#include "systools/colours/system_colour_table.h"

struct ColourPart {
    int clamped = 0; // 0..255
    int modulo = 0;  // the typed number modulo 256
};

// The leading decimal digits of an edit box's text (blanks before them allowed), of any
// length; a text without digits, or a negative one, gives 0.
ColourPart ParseColourPart(const std::string& text);

struct ColourParts {
    ColourPart red, green, blue;
};

ColourParts ParseColourParts(const std::string& red, const std::string& green, const std::string& blue);
// The colour the preview shows.
ColourRef PreviewColour(const ColourParts& parts);
// The colour Apply sets: R + G x 256 + B x 65536, each part modulo 256.
ColourRef AppliedColour(const ColourParts& parts);

// The colour a swatch paints: pure white becomes 255 255 254, so that the image list's white
// never turns transparent.
ColourRef SwatchColour(ColourRef colour);
