#pragma once
// The nearest palette entry of a colour, as the colour reduction measures it:
// 587·|g − pg| + 299·|r − pr| + 114·|b − pb|, the lowest index on ties. The portable search
// walks the B,G,R palette; the vector searches compare 8 or 16 entries at a time on a copy of
// the palette split by channel, and give the same answers.
#include <cstdint>
#include <vector>

#include "base/cpu_features.h"

// The reference: a linear walk over `count` B,G,R entries (0 when count is 0).
int32_t NearestEntryPortable(const uint8_t* palette, unsigned count, int r, int g, int b);

class CPaletteSearch {
public:
    // Keeps `palette` (count B,G,R entries, owned by the caller, alive as long as this object)
    // and picks the search of the active SIMD level.
    CPaletteSearch(const uint8_t* palette, unsigned count);

    int32_t Nearest(int r, int g, int b) const;
    // The search of one level (a level the processor lacks falls back to a lower one); for tests.
    int32_t NearestAt(SimdLevel level, int r, int g, int b) const;

    // The vector searches pack distance and index into one 32-bit key.
    static constexpr unsigned kMaxVectorEntries = 1u << 13;

private:
    const uint8_t* m_palette;
    unsigned m_count;
    SimdLevel m_level;
    // Channels as 16-bit values, padded to a multiple of 16 entries with copies of entry 0
    // (which never win over entry 0 itself, the lower index).
    std::vector<int16_t> m_r, m_g, m_b;
};
