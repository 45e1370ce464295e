// Colour-depth reduction by popularity with merging rounds, and mapping onto a palette
// through a 64 x 64 x 64 cache of nearest-colour answers (one cell per 4 x 4 x 4 block).
#include "picturetools/core/colour_reduction.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/progress.h"
#include "picture/picture.h"

namespace {

struct ColourWeight {
    int32_t weight;
    uint8_t b, g, r;
};

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
    size_t Pixels() const { return static_cast<size_t>(x1 - x0) * static_cast<size_t>(y1 - y0); }
};

class ColourCube {
public:
    static constexpr int kSide = 64;

    ColourCube() : m_cells(kSide * kSide * kSide, -1) {}

    // Each entry claims its own cell; a later entry in the same cell overwrites an earlier one.
    void Seed(const uint8_t* palette, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
            Cell(palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3]) = static_cast<int32_t>(i);
    }

    int32_t& Cell(unsigned r, unsigned g, unsigned b) { return m_cells[((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2)]; }

private:
    std::vector<int32_t> m_cells;
};

// Lowest weighted distance wins; the lowest index on ties.
int32_t NearestEntry(const uint8_t* palette, unsigned count, int r, int g, int b)
{
    int32_t best = 0;
    long bestDistance = -1;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* e = palette + i * 3;
        long d = 587L * std::abs(g - e[1]) + 299L * std::abs(r - e[2]) + 114L * std::abs(b - e[0]);
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int32_t>(i);
        }
    }
    return best;
}

// Writes palette colours into the pixels of the area; false when cancelled.
bool MapArea(CPicture& picture, const Area& area, const uint8_t* palette, unsigned count, int mode,
             ColourCube& cube, CQnProgress& sink)
{
    sink.SetText("Applying New Palette...");
    sink.SetRange(area.y0, area.y1);
    auto lookup = [&](int r, int g, int b) {
        int32_t& cell = cube.Cell(r, g, b);
        if (cell < 0)
            cell = NearestEntry(palette, count, r, g, b);
        return palette + cell * 3;
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
                const uint8_t* e = lookup(r, g, b);
                p[0] = e[0];
                p[1] = e[1];
                p[2] = e[2];
                eB = e[0] - b;
                eG = e[1] - g;
                eR = e[2] - r;
            }
        } else {
            for (; p < end; p += 3) {
                const uint8_t* e = lookup(p[2], p[1], p[0]);
                p[0] = e[0];
                p[1] = e[1];
                p[2] = e[2];
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

// Ascending 24-bit keys: three byte-wide counting passes.
void SortKeys(std::vector<uint32_t>& keys)
{
    std::vector<uint32_t> scratch(keys.size());
    for (int shift = 0; shift < 24; shift += 8) {
        size_t counts[257] = {};
        for (uint32_t k : keys)
            ++counts[((k >> shift) & 0xFF) + 1];
        for (int i = 0; i < 256; ++i)
            counts[i + 1] += counts[i];
        for (uint32_t k : keys)
            scratch[counts[(k >> shift) & 0xFF]++] = k;
        keys.swap(scratch);
    }
}

void DropEmptyRecords(std::vector<ColourWeight>& records)
{
    records.erase(std::remove_if(records.begin(), records.end(), [](const ColourWeight& c) { return c.weight == 0; }),
                  records.end());
}

// Light records pass their weight on to the next record.
void MergeLightColours(std::vector<ColourWeight>& records, int32_t threshold, size_t target)
{
    size_t remaining = records.size();
    for (size_t j = 0; j + 1 < records.size() && remaining > target; ++j) {
        if (records[j].weight < threshold) {
            records[j + 1].weight += records[j].weight;
            records[j].weight = 0;
            --remaining;
        }
    }
    DropEmptyRecords(records);
}

// Neighbours within the tolerance merge into the heavier one (the second on ties).
void MergeSimilarColours(std::vector<ColourWeight>& records, int k, size_t target)
{
    size_t remaining = records.size();
    size_t j = 0;
    while (j + 1 < records.size() && remaining > target) {
        ColourWeight& a = records[j];
        ColourWeight& b = records[j + 1];
        if (std::abs(a.r - b.r) < 2 * k && std::abs(a.g - b.g) < k && std::abs(a.b - b.b) < 4 * k) {
            if (a.weight > b.weight) {
                a.weight += b.weight;
                b.weight = 0;
            } else {
                b.weight += a.weight;
                a.weight = 0;
            }
            --remaining;
            j += 2;
        } else {
            j += 1;
        }
    }
    DropEmptyRecords(records);
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

    std::unique_ptr<ColourCube> cube;
    std::vector<uint32_t> keys;
    std::vector<ColourWeight> records;
    try {
        cube = std::make_unique<ColourCube>();
        keys.reserve(area.Pixels());
        sink->SetText("Referencing colors...");
        sink->SetRange(area.y0, area.y1);
        for (int y = area.y0; y < area.y1; ++y) {
            if (y % 10 == 0 && !sink->SetPos(y))
                return false;
            const uint8_t* p = picture.Row(y) + area.x0 * 3;
            for (int x = area.x0; x < area.x1; ++x, p += 3)
                keys.push_back(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
        sink->SetText("Sorting colors table...");
        SortKeys(keys);

        sink->SetText("Counting colors...");
        sink->SetRange(0, static_cast<int64_t>(keys.size()));
        for (size_t i = 0; i < keys.size();) {
            size_t run = i + 1;
            while (run < keys.size() && keys[run] == keys[i])
                ++run;
            if (i / 640 != run / 640 && !sink->SetPos(static_cast<int64_t>(run)))
                return false;
            const uint32_t k = keys[i];
            records.push_back({static_cast<int32_t>(10 + (run - i)), uint8_t(k >> 16), uint8_t(k >> 8), uint8_t(k)});
            i = run;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::vector<uint32_t>().swap(keys);

    const size_t distinct = records.size();
    std::vector<uint8_t> palette;
    palette.reserve(std::max<size_t>(distinct, count) * 3);
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
