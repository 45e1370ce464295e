#include "picture/codecs/palette_lookup.h"

#include <algorithm>

#include "picture/picture.h"

namespace {
uint32_t Key(const uint8_t* bgr) { return bgr[0] | uint32_t(bgr[1]) << 8 | uint32_t(bgr[2]) << 16; }
} // namespace

CPaletteLookup::CPaletteLookup(const CPicture& picture, unsigned count)
    : m_palette(static_cast<size_t>(std::min(count, 256u)) * 3, 0)
{
    const unsigned n = std::min(picture.PaletteSize(), std::min(count, 256u));
    if (n)
        std::copy(picture.Palette(), picture.Palette() + n * 3, m_palette.begin());
    // Earlier entries win when a colour appears twice.
    for (unsigned i = static_cast<unsigned>(m_palette.size() / 3); i-- > 0;)
        m_known[Key(&m_palette[i * 3])] = static_cast<uint8_t>(i);
}

uint8_t CPaletteLookup::IndexOf(const uint8_t* bgr)
{
    const uint32_t key = Key(bgr);
    auto found = m_known.find(key);
    if (found != m_known.end())
        return found->second;
    unsigned best = 0;
    int bestDistance = 1 << 30;
    for (unsigned i = 0; i < m_palette.size() / 3; ++i) {
        const uint8_t* p = &m_palette[i * 3];
        int d = 0;
        for (int c = 0; c < 3; ++c)
            d += (p[c] - bgr[c]) * (p[c] - bgr[c]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    m_known.emplace(key, static_cast<uint8_t>(best));
    return static_cast<uint8_t>(best);
}
