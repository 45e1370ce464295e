#pragma once
// Maps the 24-bit pixels of a palette picture back to palette indexes: exact colours through
// a hash table, anything else to the nearest entry (remembered, so each colour is searched once).
#include <cstdint>
#include <unordered_map>
#include <vector>

class CPicture;

class CPaletteLookup {
public:
    // Uses the first `count` entries of the picture's palette (black where it has fewer).
    CPaletteLookup(const CPicture& picture, unsigned count);

    uint8_t IndexOf(const uint8_t* bgr);
    // The palette used, `count` entries of B, G, R.
    const std::vector<uint8_t>& Palette() const { return m_palette; }

private:
    std::vector<uint8_t> m_palette;
    std::unordered_map<uint32_t, uint8_t> m_known;
};
