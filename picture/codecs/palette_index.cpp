#include "picture/codecs/palette_index.h"

#include <algorithm>

#include "picture/picture.h"

namespace rastercodec {
namespace {
// Colours found by search are remembered up to this many, so a photograph keeps the table small.
constexpr size_t kMaxRemembered = 1 << 16;

uint32_t Pack(const uint8_t* bgr) { return uint32_t(bgr[0]) | uint32_t(bgr[1]) << 8 | uint32_t(bgr[2]) << 16; }
} // namespace

PaletteIndex::PaletteIndex(const CPicture& picture, unsigned count)
{
    count = std::min({count, picture.PaletteSize(), 256u});
    const uint8_t* palette = picture.Palette();
    for (unsigned i = 0; i < count; ++i) {
        const uint32_t colour = Pack(palette + i * 3);
        m_colours.push_back(colour);
        m_lookup.emplace(colour, static_cast<uint8_t>(i)); // the first of duplicates wins
    }
}

uint8_t PaletteIndex::Nearest(uint32_t colour) const
{
    uint8_t best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < m_colours.size(); ++i) {
        const int db = int(colour & 0xFF) - int(m_colours[i] & 0xFF);
        const int dg = int(colour >> 8 & 0xFF) - int(m_colours[i] >> 8 & 0xFF);
        const int dr = int(colour >> 16) - int(m_colours[i] >> 16);
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}

uint8_t PaletteIndex::IndexOf(const uint8_t* bgr)
{
    const uint32_t colour = Pack(bgr);
    if (colour == m_lastColour)
        return m_lastIndex;
    auto found = m_lookup.find(colour);
    uint8_t index;
    if (found != m_lookup.end()) {
        index = found->second;
    } else {
        index = Nearest(colour);
        if (m_lookup.size() < kMaxRemembered)
            m_lookup.emplace(colour, index);
    }
    m_lastColour = colour;
    m_lastIndex = index;
    return index;
}

void PaletteIndex::MapRow(const uint8_t* bgr, int width, uint8_t* indices)
{
    for (int x = 0; x < width; ++x, bgr += 3)
        indices[x] = IndexOf(bgr);
}

} // namespace rastercodec
