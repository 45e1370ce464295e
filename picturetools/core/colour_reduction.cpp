// Colour-depth reduction by popularity with merging rounds, and mapping onto a palette
// through a 64 x 64 x 64 cache of nearest-colour answers (colour_reduction_mapping.h).
#include "picturetools/core/colour_reduction.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction_census.h"
#include "picturetools/core/colour_reduction_mapping.h"

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
    size_t remaining = n, j = 0;
    while (j + 1 < n && records[j].weight >= threshold) // nothing moves before the first merge
        ++j;
    size_t kept = j;
    for (; j + 1 < n && remaining > target; ++j) {
        if (records[j].weight < threshold) {
            records[j + 1].weight += records[j].weight;
            --remaining;
        } else {
            records[kept++] = records[j];
        }
    }
    if (kept == j)
        return;
    for (; j < n; ++j)
        records[kept++] = records[j];
    records.resize(kept);
}

// Neighbours within the tolerance merge into the heavier one (the second on ties); the
// emptied ones are dropped in the same walk. Whether neighbours are alike depends on their
// colours only, which no merge changes, so it is worked out for every pair first (a loop
// without branches); the walk then jumps from one alike pair to the next and moves the
// records between them as a block.
void MergeSimilarColours(std::vector<ColourWeight>& records, int k, size_t target, std::vector<uint8_t>& alike)
{
    const size_t n = records.size();
    if (n < 2)
        return;
    alike.resize(n);
    for (size_t j = 0; j + 1 < n; ++j) {
        const ColourWeight& a = records[j];
        const ColourWeight& b = records[j + 1];
        alike[j] = (std::abs(a.r - b.r) < 2 * k) & (std::abs(a.g - b.g) < k) & (std::abs(a.b - b.b) < 4 * k);
    }
    alike[n - 1] = 1; // stops the search; no pair starts at the last record
    size_t remaining = n, kept = 0, j = 0;
    while (j + 1 < n && remaining > target) {
        const size_t m = size_t(static_cast<const uint8_t*>(std::memchr(alike.data() + j, 1, n - j)) - alike.data());
        if (m + 1 >= n)
            break;
        if (kept != j)
            std::memmove(records.data() + kept, records.data() + j, (m - j) * sizeof(ColourWeight));
        kept += m - j;
        const ColourWeight a = records[m];
        const ColourWeight b = records[m + 1];
        ColourWeight merged = a.weight > b.weight ? a : b;
        merged.weight = a.weight + b.weight;
        records[kept++] = merged;
        --remaining;
        j = m + 2;
    }
    if (kept == j)
        return;
    std::memmove(records.data() + kept, records.data() + j, (n - j) * sizeof(ColourWeight));
    records.resize(kept + (n - j));
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
    std::vector<uint8_t> alike; // the similarity pass's flags, kept between rounds
    for (int k = 1; records.size() > count; ++k) {
        if (!sink->SetPos(static_cast<int64_t>(distinct - records.size())))
            return false;
        MergeLightColours(records, 2 * k - 1, count);
        MergeLightColours(records, 2 * k, count);
        MergeSimilarColours(records, k, count, alike);
    }
    for (const ColourWeight& c : records)
        palette.insert(palette.end(), {c.b, c.g, c.r});
    std::vector<ColourWeight>().swap(records);

    // The cube comes only now, when the census's arrays are gone, to keep the peak low.
    std::unique_ptr<CColourCube> cube;
    try {
        cube = std::make_unique<CColourCube>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    cube->Seed(palette.data(), count);
    if (!MapPixels(picture, area.x0, area.y0, area.x1, area.y1, palette.data(), count, mode, *cube, *sink))
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
    std::unique_ptr<CColourCube> cube;
    try {
        cube = std::make_unique<CColourCube>();
    } catch (const std::bad_alloc&) {
        return;
    }
    cube->Seed(palette, count);
    const Area area(picture, x0, y0, x1, y1);
    MapPixels(picture, area.x0, area.y0, area.x1, area.y1, palette, count, mode, *cube, *sink);
    SetPicturePalette(picture, palette, count, count);
}
