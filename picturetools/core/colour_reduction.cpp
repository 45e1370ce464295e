// Colour-depth reduction by popularity with merging rounds, and mapping onto a palette
// through a 64 x 64 x 64 cache of nearest-colour answers (one cell per 4 x 4 x 4 block).
#include "picturetools/core/colour_reduction.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction_census.h"
#include "picturetools/core/colour_reduction_search.h"

namespace {

// Keeps a progress level open for the duration of one operation.
class ProgressLevel {
public:
    explicit ProgressLevel(CQnProgress& sink) : m_sink(sink), m_depth(sink.Nesting()) { m_sink.Begin(); }
    ~ProgressLevel() { m_sink.RestoreNesting(m_depth); }
    CQnProgress& operator*() { return m_sink; }
    CQnProgress* operator->() { return &m_sink; }

private:
    CQnProgress& m_sink;
    int m_depth;
};

// The rectangle clamped to the picture.
struct Area {
    int x0, y0, x1, y1;
    Area(const CPicture& p, int ax0, int ay0, int ax1, int ay1)
        : x0(std::clamp(ax0, 0, p.Width())), y0(std::clamp(ay0, 0, p.Height())),
          x1(std::clamp(ax1, 0, p.Width())), y1(std::clamp(ay1, 0, p.Height()))
    {
        x1 = std::max(x1, x0);
        y1 = std::max(y1, y0);
    }
};

// The cube's cells hold the chosen entry's colour itself (kKnown | B << 16 | G << 8 | R; 0
// while not yet known), so that mapping a pixel takes a single look-up. The cells are laid out
// in Morton order (the bits of the three cell coordinates interleaved): colours close to each
// other, as a dithered row meets them, then share cache lines.
class ColourCube {
public:
    static constexpr int kSide = 64;
    static constexpr uint32_t kKnown = 0x01000000;

    ColourCube() : m_cells(new uint32_t[kSide * kSide * kSide]())
    {
        for (unsigned v = 0; v < 256; ++v) {
            uint32_t spread = 0;
            for (unsigned bit = 0; bit < 6; ++bit)
                spread |= ((v >> 2 >> bit) & 1u) << (3 * bit);
            m_spread[v] = spread;
        }
    }

    // Each entry claims its own cell; a later entry in the same cell overwrites an earlier one.
    void Seed(const uint8_t* palette, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
            Cell(palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3]) = Pack(palette + i * 3);
    }

    uint32_t& Cell(unsigned r, unsigned g, unsigned b)
    {
        return m_cells[m_spread[r] << 2 | m_spread[g] << 1 | m_spread[b]];
    }

    static uint32_t Pack(const uint8_t* entry)
    {
        return kKnown | uint32_t(entry[0]) << 16 | uint32_t(entry[1]) << 8 | entry[2];
    }

private:
    std::unique_ptr<uint32_t[]> m_cells;
    uint32_t m_spread[256]; // bits of v >> 2 spread three places apart
};

// Writes palette colours into the pixels of the area; false when cancelled.
bool MapArea(CPicture& picture, const Area& area, const uint8_t* palette, unsigned count, int mode,
             ColourCube& cube, CQnProgress& sink)
{
    sink.SetText("Applying New Palette...");
    sink.SetRange(area.y0, area.y1);
    const CPaletteSearch search(palette, count);
    auto lookup = [&](int r, int g, int b) {
        uint32_t& cell = cube.Cell(unsigned(r), unsigned(g), unsigned(b));
        if (cell == 0)
            cell = ColourCube::Pack(palette + size_t(search.Nearest(r, g, b)) * 3);
        return cell;
    };
    for (int y = area.y0; y < area.y1; ++y) {
        if (y % 10 == 0 && !sink.SetPos(y))
            return false;
        uint8_t* p = picture.Row(y) + area.x0 * 3;
        uint8_t* end = picture.Row(y) + area.x1 * 3;
        if (mode == kMapDiffuse) {
            int eR = 0, eG = 0, eB = 0; // each row starts without error
            for (; p < end; p += 3) {
                const int b = std::clamp(p[0] - eB, 0, 255);
                const int g = std::clamp(p[1] - eG, 0, 255);
                const int r = std::clamp(p[2] - eR, 0, 255);
                const uint32_t e = lookup(r, g, b);
                const int eb = uint8_t(e >> 16), eg = uint8_t(e >> 8), er = uint8_t(e);
                p[0] = uint8_t(eb);
                p[1] = uint8_t(eg);
                p[2] = uint8_t(er);
                eB = eb - b;
                eG = eg - g;
                eR = er - r;
            }
        } else {
            for (; p < end; p += 3) {
                const uint32_t e = lookup(p[2], p[1], p[0]);
                p[0] = uint8_t(e >> 16);
                p[1] = uint8_t(e >> 8);
                p[2] = uint8_t(e);
            }
        }
    }
    return true;
}

// Gives the picture exactly `count` entries (the depth follows from the count).
void SetPicturePalette(CPicture& picture, const uint8_t* palette, unsigned used, unsigned count)
{
    if (picture.PaletteSize() != count)
        picture.ResizePalette(0);
    picture.SetPaletteSize(count);
    static const uint8_t black[3] = {0, 0, 0};
    for (unsigned i = 0; i < count; ++i)
        picture.SetPaletteEntry(i, i < used ? palette + i * 3 : black);
}

// Light records pass their weight on to the next record; the emptied ones are dropped in the
// same walk.
void MergeLightColours(std::vector<ColourWeight>& records, int32_t threshold, size_t target)
{
    const size_t n = records.size();
    size_t remaining = n, kept = 0, j = 0;
    for (; j + 1 < n && remaining > target; ++j) {
        if (records[j].weight < threshold) {
            records[j + 1].weight += records[j].weight;
            --remaining;
        } else {
            records[kept++] = records[j];
        }
    }
    for (; j < n; ++j)
        records[kept++] = records[j];
    records.resize(kept);
}

// Neighbours within the tolerance merge into the heavier one (the second on ties); the
// emptied ones are dropped in the same walk.
void MergeSimilarColours(std::vector<ColourWeight>& records, int k, size_t target)
{
    const size_t n = records.size();
    size_t remaining = n, kept = 0, j = 0;
    while (j + 1 < n && remaining > target) {
        const ColourWeight a = records[j];
        const ColourWeight b = records[j + 1];
        if (std::abs(a.r - b.r) < 2 * k && std::abs(a.g - b.g) < k && std::abs(a.b - b.b) < 4 * k) {
            ColourWeight merged = a.weight > b.weight ? a : b;
            merged.weight = a.weight + b.weight;
            records[kept++] = merged;
            --remaining;
            j += 2;
        } else {
            records[kept++] = a;
            j += 1;
        }
    }
    for (; j < n; ++j)
        records[kept++] = records[j];
    records.resize(kept);
}

void SortByWeight(std::vector<ColourWeight>& records)
{
    const size_t n = records.size();
    if (n < 1024) {
        for (size_t i = 0; i + 1 < n; ++i)
            for (size_t j = i + 1; j < n; ++j)
                if (records[i].weight > records[j].weight)
                    std::swap(records[i], records[j]);
    } else {
        std::sort(records.begin(), records.end(),
                  [](const ColourWeight& a, const ColourWeight& b) { return a.weight < b.weight; });
    }
}

} // namespace

bool ReduceColours(CPicture& picture, int x0, int y0, int x1, int y1, unsigned count, int mode,
                   CQnProgress* progress)
{
    if (picture.Palette() && picture.PaletteSize() == count)
        return true;
    if (picture.IsEmpty() || count == 0)
        return false;
    ProgressLevel sink(ProgressOrSilent(progress));
    const Area area(picture, x0, y0, x1, y1);

    std::vector<ColourWeight> records;
    try {
        if (!TakeColourCensus(picture, area.x0, area.y0, area.x1, area.y1, *sink, records))
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (ColourWeight& c : records)
        c.weight += 10; // the base weight keeps the light-colour passes idle for the first rounds

    const size_t distinct = records.size();
    std::vector<uint8_t> palette;
    palette.reserve(std::max<size_t>(distinct <= count ? distinct : 0, count) * 3);
    if (distinct <= count) {
        for (const ColourWeight& c : records)
            palette.insert(palette.end(), {c.b, c.g, c.r});
        SetPicturePalette(picture, palette.data(), static_cast<unsigned>(distinct), count);
        return true;
    }

    SortByWeight(records);
    sink->SetText("Decreasing Colors Depth...");
    sink->SetRange(0, static_cast<int64_t>(distinct - count));
    for (int k = 1; records.size() > count; ++k) {
        if (!sink->SetPos(static_cast<int64_t>(distinct - records.size())))
            return false;
        MergeLightColours(records, 2 * k - 1, count);
        MergeLightColours(records, 2 * k, count);
        MergeSimilarColours(records, k, count);
    }
    for (const ColourWeight& c : records)
        palette.insert(palette.end(), {c.b, c.g, c.r});
    std::vector<ColourWeight>().swap(records);

    // The cube comes only now, when the census's arrays are gone, to keep the peak low.
    std::unique_ptr<ColourCube> cube;
    try {
        cube = std::make_unique<ColourCube>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    cube->Seed(palette.data(), count);
    if (!MapArea(picture, area, palette.data(), count, mode, *cube, *sink))
        return false;
    SetPicturePalette(picture, palette.data(), count, count);
    return true;
}

void ApplyPalette(CPicture& picture, int x0, int y0, int x1, int y1, unsigned count, const uint8_t* palette,
                  int mode, CQnProgress* progress)
{
    if (picture.PaletteSize() == count || picture.IsEmpty() || count == 0 || !palette)
        return;
    ProgressLevel sink(ProgressOrSilent(progress));
    std::unique_ptr<ColourCube> cube;
    try {
        cube = std::make_unique<ColourCube>();
    } catch (const std::bad_alloc&) {
        return;
    }
    cube->Seed(palette, count);
    MapArea(picture, Area(picture, x0, y0, x1, y1), palette, count, mode, *cube, *sink);
    SetPicturePalette(picture, palette, count, count);
}
