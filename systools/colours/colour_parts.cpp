#include "systools/colours/colour_parts.h"

ColourPart ParseColourPart(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    ColourPart part;
    bool big = false;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        part.modulo = (part.modulo * 10 + digit) % 256;
        if (!big) {
            part.clamped = part.clamped * 10 + digit;
            big = part.clamped > 255;
        }
    }
    if (big)
        part.clamped = 255;
    return part;
}

ColourParts ParseColourParts(const std::string& red, const std::string& green, const std::string& blue)
{
    return {ParseColourPart(red), ParseColourPart(green), ParseColourPart(blue)};
}

ColourRef PreviewColour(const ColourParts& parts)
{
    return MakeColour(uint8_t(parts.red.clamped), uint8_t(parts.green.clamped), uint8_t(parts.blue.clamped));
}

ColourRef AppliedColour(const ColourParts& parts)
{
    return ColourRef(parts.red.modulo) + ColourRef(parts.green.modulo) * 256 + ColourRef(parts.blue.modulo) * 65536;
}

ColourRef SwatchColour(ColourRef colour)
{
    const ColourRef white = MakeColour(255, 255, 255);
    return (colour & 0xFFFFFF) == white ? MakeColour(255, 255, 254) : colour & 0xFFFFFF;
}
