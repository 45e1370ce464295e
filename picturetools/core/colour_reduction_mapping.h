#pragma once
// Mapping a picture onto a palette for the colour reduction: the 64 x 64 x 64 cube that caches
// the nearest entry of each 4 x 4 x 4 block of colours (the first colour of a block met in scan
// order decides for the whole block), and the row walks of both mapping modes.
#include <cstdint>
#include <memory>

class CPicture;
class CQnProgress;

// The cells hold the chosen entry's colour itself (kKnown | B << 16 | G << 8 | R; 0 while not
// yet known), so that mapping a pixel takes a single look-up. They are laid out in Morton
// order (the bits of the three cell coordinates interleaved): colours close to each other, as
// a dithered row meets them, share cache lines.
class CColourCube {
public:
    static constexpr int kSide = 64;
    static constexpr uint32_t kKnown = 0x01000000;

    CColourCube(); // throws std::bad_alloc

    // Each entry claims its own cell; a later entry in the same cell overwrites an earlier one.
    void Seed(const uint8_t* palette, unsigned count);

    uint32_t& Cell(unsigned r, unsigned g, unsigned b)
    {
        return m_cells[m_spread[r] << 2 | m_spread[g] << 1 | m_spread[b]];
    }
    uint32_t* Cells() { return m_cells.get(); }
    const uint32_t* Spread() const { return m_spread; }

    static uint32_t Pack(const uint8_t* entry)
    {
        return kKnown | uint32_t(entry[0]) << 16 | uint32_t(entry[1]) << 8 | entry[2];
    }

private:
    std::unique_ptr<uint32_t[]> m_cells;
    uint32_t m_spread[256]; // the bits of v >> 2, spread three places apart
};

// Writes palette colours into columns x0..x1-1 of rows y0..y1-1 (inside the picture), text
// "Applying New Palette...", SetPos(y) before every row y with y % 10 == 0. Mode 1 carries each
// pixel's error to its right-hand neighbour, starting every row without error. False when
// cancelled: the rows before the cancelling SetPos are mapped, the others untouched.
bool MapPixels(CPicture& picture, int x0, int y0, int x1, int y1, const uint8_t* palette, unsigned count, int mode,
               CColourCube& cube, CQnProgress& sink);
