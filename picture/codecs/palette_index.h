#pragma once
// Maps 24-bit pixels to the index of their colour in a picture's palette, for the writers of
// colour-mapped files. Pixels that are not palette colours (a picture whose depth was set
// without reducing its colours) go to the nearest entry.
#include <cstdint>
#include <unordered_map>
#include <vector>

class CPicture;

namespace rastercodec {

class PaletteIndex {
public:
    // Uses the first `count` entries of the picture's palette (fewer when it has fewer).
    PaletteIndex(const CPicture& picture, unsigned count);

    uint8_t IndexOf(const uint8_t* bgr);
    // Converts `width` B,G,R pixels to indices.
    void MapRow(const uint8_t* bgr, int width, uint8_t* indices);

private:
    uint8_t Nearest(uint32_t colour) const;

    std::vector<uint32_t> m_colours; // 0x00RRGGBB
    std::unordered_map<uint32_t, uint8_t> m_lookup;
    uint32_t m_lastColour = 0xFFFFFFFF;
    uint8_t m_lastIndex = 0;
};

} // namespace rastercodec
