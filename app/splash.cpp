#include "app/splash.h"

#include <algorithm>
#include <cstring>

bool ComposeSplash(const CPicture& colour, const CPicture& mask, SplashPictures& out)
{
    if (colour.IsEmpty() || mask.IsEmpty())
        return false;
    const int w = mask.Width(), h = mask.Height();
    if (!out.splash.Create(w, h) || !out.splash.CreateAlpha() || !out.darkened.Create(w, h) ||
        !out.darkened.CreateAlpha() || !out.overWhite.Create(w, h))
        return false;
    const int copyWidth = std::min(w, colour.Width());
    const int copyHeight = std::min(h, colour.Height());
    for (int y = 0; y < h; ++y) {
        uint8_t* row = out.splash.Row(y);
        if (y < copyHeight)
            std::memcpy(row, colour.Row(y), static_cast<size_t>(copyWidth) * 3);
        const uint8_t* maskRow = mask.Row(y);
        uint8_t* alpha = out.splash.AlphaRow(y);
        uint8_t* dark = out.darkened.Row(y);
        uint8_t* darkAlpha = out.darkened.AlphaRow(y);
        uint8_t* white = out.overWhite.Row(y);
        for (int x = 0; x < w; ++x) {
            const unsigned a = maskRow[3 * x];
            alpha[x] = darkAlpha[x] = static_cast<uint8_t>(a);
            for (int c = 0; c < 3; ++c) {
                const unsigned v = row[3 * x + c];
                dark[3 * x + c] = static_cast<uint8_t>(v / 2);
                white[3 * x + c] = static_cast<uint8_t>((v * a + 255 * (255 - a) + 127) / 255);
            }
        }
    }
    return true;
}
