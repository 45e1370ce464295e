// The diffusing walk carries a chain through every pixel of a row (the error depends on the
// previous pixel's choice), so one row alone runs at the latency of that chain. Two rows go
// side by side instead: the lower row may only use blocks already decided and waits at an
// undecided one until the upper row is done, so blocks are still decided in scan order and
// the result is the one of a walk row after row.
#include "picturetools/core/colour_reduction_mapping.h"

#include <algorithm>

#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"
#include "picturetools/core/colour_reduction_search.h"

namespace {

// One row of the diffusing walk: the next pixel and the error carried to it.
struct RowWalk {
    uint8_t* p = nullptr;
    uint8_t* end = nullptr;
    int eR = 0, eG = 0, eB = 0;
    bool Done() const { return p >= end; }
};

class Mapper {
public:
    Mapper(CColourCube& cube, const uint8_t* palette, unsigned count)
        : m_cells(cube.Cells()), m_spread(cube.Spread()), m_palette(palette), m_search(palette, count)
    {
    }

    [[gnu::always_inline]] uint32_t& Cell(int r, int g, int b) const { return m_cells[m_spread[r] << 2 | m_spread[g] << 1 | m_spread[b]]; }

    // The cell's colour, deciding the block for this colour when it is still open.
    [[gnu::noinline]] uint32_t Decide(int r, int g, int b) const
    {
        uint32_t& cell = Cell(r, g, b);
        if (cell == 0)
            cell = CColourCube::Pack(m_palette + size_t(m_search.Nearest(r, g, b)) * 3);
        return cell;
    }

    // One pixel of a diffusing row; with `mayDecide` false it stops (false) at an open block.
    [[gnu::always_inline]] bool Step(RowWalk& w, bool mayDecide) const
    {
        const int b = std::clamp(w.p[0] - w.eB, 0, 255);
        const int g = std::clamp(w.p[1] - w.eG, 0, 255);
        const int r = std::clamp(w.p[2] - w.eR, 0, 255);
        uint32_t e = Cell(r, g, b);
        if (e == 0) {
            if (!mayDecide)
                return false;
            e = Decide(r, g, b);
        }
        const int eb = uint8_t(e >> 16), eg = uint8_t(e >> 8), er = uint8_t(e);
        w.p[0] = uint8_t(eb);
        w.p[1] = uint8_t(eg);
        w.p[2] = uint8_t(er);
        w.eB = eb - b;
        w.eG = eg - g;
        w.eR = er - r;
        w.p += 3;
        return true;
    }

    void Nearest(uint8_t* p, uint8_t* end) const
    {
        for (; p < end; p += 3) {
            const uint32_t e = Decide(p[2], p[1], p[0]);
            p[0] = uint8_t(e >> 16);
            p[1] = uint8_t(e >> 8);
            p[2] = uint8_t(e);
        }
    }

private:
    uint32_t* m_cells;
    const uint32_t* m_spread;
    const uint8_t* m_palette;
    CPaletteSearch m_search;
};

} // namespace

CColourCube::CColourCube() : m_cells(new uint32_t[kSide * kSide * kSide]())
{
    for (unsigned v = 0; v < 256; ++v) {
        uint32_t spread = 0;
        for (unsigned bit = 0; bit < 6; ++bit)
            spread |= ((v >> 2 >> bit) & 1u) << (3 * bit);
        m_spread[v] = spread;
    }
}

void CColourCube::Seed(const uint8_t* palette, unsigned count)
{
    for (unsigned i = 0; i < count; ++i)
        Cell(palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3]) = Pack(palette + i * 3);
}

bool MapPixels(CPicture& picture, int x0, int y0, int x1, int y1, const uint8_t* palette, unsigned count, int mode,
               CColourCube& cube, CQnProgress& sink)
{
    sink.SetText("Applying New Palette...");
    sink.SetRange(y0, y1);
    const Mapper mapper(cube, palette, count);
    auto row = [&](int y) {
        RowWalk w;
        w.p = picture.Row(y) + size_t(x0) * 3;
        w.end = picture.Row(y) + size_t(x1) * 3;
        return w;
    };
    if (mode != kMapDiffuse) {
        for (int y = y0; y < y1; ++y) {
            if (y % 10 == 0 && !sink.SetPos(y))
                return false;
            mapper.Nearest(picture.Row(y) + size_t(x0) * 3, picture.Row(y) + size_t(x1) * 3);
        }
        return true;
    }

    // `upper` decides blocks; `lower`, the next row, follows while it meets decided blocks.
    if (y0 >= y1)
        return true;
    if (y0 % 10 == 0 && !sink.SetPos(y0))
        return false;
    RowWalk upper = row(y0), lower;
    int upperY = y0;
    bool cancelled = false;
    for (;;) {
        const int lowerY = upperY + 1;
        bool hasLower = false;
        if (lowerY < y1) {
            if (lowerY % 10 == 0 && !sink.SetPos(lowerY))
                cancelled = true; // after the upper row, as a walk row after row would stop
            else {
                lower = row(lowerY);
                hasLower = true;
            }
        }
        if (hasLower) {
            while (!upper.Done()) {
                mapper.Step(upper, true);
                if (!lower.Done())
                    mapper.Step(lower, false);
            }
        } else {
            while (!upper.Done())
                mapper.Step(upper, true);
        }
        if (cancelled)
            return false;
        if (!hasLower)
            return true;
        upper = lower;
        upperY = lowerY;
    }
}
