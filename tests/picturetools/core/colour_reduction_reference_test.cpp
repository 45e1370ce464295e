// The colour reduction against a plain reference of its algorithm (every key sorted, a cube of
// palette indices, one nearest-entry walk per cell, compaction after each merge pass): the
// census, the merging rounds and the mapping must give the same palette and pixels, and the
// same progress calls, at every SIMD level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/cpu_features.h"
#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"
#include "picturetools/core/colour_reduction_census.h"
#include "picturetools/core/colour_reduction_search.h"

namespace {

struct Record {
    int32_t weight;
    uint8_t b, g, r;
};

// Census by sorting every key; SetPos as the census reports it.
std::vector<Record> ReferenceCensus(const CPicture& p, int x0, int y0, int x1, int y1, std::vector<int64_t>* positions)
{
    std::vector<uint32_t> keys;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* px = p.Row(y) + x * 3;
            keys.push_back(uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2]);
        }
    std::sort(keys.begin(), keys.end());
    std::vector<Record> records;
    for (size_t i = 0; i < keys.size();) {
        size_t run = i + 1;
        while (run < keys.size() && keys[run] == keys[i])
            ++run;
        if (positions && i / 640 != run / 640)
            positions->push_back(int64_t(run));
        records.push_back({int32_t(run - i), uint8_t(keys[i] >> 16), uint8_t(keys[i] >> 8), uint8_t(keys[i])});
        i = run;
    }
    return records;
}

void DropEmpty(std::vector<Record>& r)
{
    r.erase(std::remove_if(r.begin(), r.end(), [](const Record& c) { return c.weight == 0; }), r.end());
}

// Popularity with merging rounds and mapping through a cube of indices (-1 unknown).
void ReferenceReduce(CPicture& p, unsigned count, int mode)
{
    std::vector<Record> records = ReferenceCensus(p, 0, 0, p.Width(), p.Height(), nullptr);
    for (Record& c : records)
        c.weight += 10;
    std::vector<uint8_t> palette;
    if (records.size() <= count) {
        for (const Record& c : records)
            palette.insert(palette.end(), {c.b, c.g, c.r});
        palette.resize(count * 3, 0);
        p.ResizePalette(0);
        p.SetPaletteSize(count);
        for (unsigned i = 0; i < count; ++i)
            p.SetPaletteEntry(i, palette.data() + i * 3);
        return;
    }
    if (records.size() < 1024) {
        for (size_t i = 0; i + 1 < records.size(); ++i)
            for (size_t j = i + 1; j < records.size(); ++j)
                if (records[i].weight > records[j].weight)
                    std::swap(records[i], records[j]);
    } else {
        std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.weight < b.weight; });
    }
    for (int k = 1; records.size() > count; ++k) {
        for (int32_t t : {2 * k - 1, 2 * k}) {
            size_t remaining = records.size();
            for (size_t j = 0; j + 1 < records.size() && remaining > count; ++j)
                if (records[j].weight < t) {
                    records[j + 1].weight += records[j].weight;
                    records[j].weight = 0;
                    --remaining;
                }
            DropEmpty(records);
        }
        size_t remaining = records.size(), j = 0;
        while (j + 1 < records.size() && remaining > count) {
            Record& a = records[j];
            Record& b = records[j + 1];
            if (std::abs(a.r - b.r) < 2 * k && std::abs(a.g - b.g) < k && std::abs(a.b - b.b) < 4 * k) {
                Record& keep = a.weight > b.weight ? a : b;
                Record& gone = a.weight > b.weight ? b : a;
                keep.weight += gone.weight;
                gone.weight = 0;
                --remaining;
                j += 2;
            } else {
                j += 1;
            }
        }
        DropEmpty(records);
    }
    for (const Record& c : records)
        palette.insert(palette.end(), {c.b, c.g, c.r});
    std::vector<int32_t> cube(64 * 64 * 64, -1);
    auto cell = [&](int r, int g, int b) -> int32_t& { return cube[(r >> 2) << 12 | (g >> 2) << 6 | (b >> 2)]; };
    for (unsigned i = 0; i < count; ++i)
        cell(palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3]) = int32_t(i);
    for (int y = 0; y < p.Height(); ++y) {
        int eR = 0, eG = 0, eB = 0;
        for (int x = 0; x < p.Width(); ++x) {
            uint8_t* px = p.Row(y) + x * 3;
            const int b = mode ? std::clamp(px[0] - eB, 0, 255) : px[0];
            const int g = mode ? std::clamp(px[1] - eG, 0, 255) : px[1];
            const int r = mode ? std::clamp(px[2] - eR, 0, 255) : px[2];
            int32_t& c = cell(r, g, b);
            if (c < 0)
                c = NearestEntryPortable(palette.data(), count, r, g, b);
            const uint8_t* e = palette.data() + c * 3;
            std::copy(e, e + 3, px);
            eB = e[0] - b;
            eG = e[1] - g;
            eR = e[2] - r;
        }
    }
    p.ResizePalette(0);
    p.SetPaletteSize(count);
    for (unsigned i = 0; i < count; ++i)
        p.SetPaletteEntry(i, palette.data() + i * 3);
}

// A photo-like picture with noise (`noise` = its amplitude), or `flat` colours only.
void FillPicture(CPicture& p, int w, int h, uint32_t seed, int noise)
{
    ASSERT_TRUE(p.Create(unsigned(w), unsigned(h)));
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int n = noise ? int(random() % unsigned(2 * noise + 1)) - noise : 0;
            const uint8_t bgr[3] = {uint8_t(std::clamp(x * 255 / w + n, 0, 255)),
                                    uint8_t(std::clamp(y * 255 / h - n, 0, 255)),
                                    uint8_t(std::clamp((x ^ y) % 256 + n, 0, 255))};
            p.SetPixel(x, y, bgr);
        }
}

std::vector<uint8_t> Bytes(const CPicture& p)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < p.Height(); ++y)
        out.insert(out.end(), p.Row(y), p.Row(y) + p.Width() * 3);
    out.insert(out.end(), p.Palette(), p.Palette() + p.PaletteSize() * 3);
    return out;
}

class RecordingProgress : public CQnProgress {
public:
    bool SetPos(int64_t position, bool redraw) override
    {
        calls.push_back(Text() + ":" + std::to_string(position));
        return CQnProgress::SetPos(position, redraw);
    }
    std::vector<std::string> calls;
};

std::string LevelName(const testing::TestParamInfo<SimdLevel>& info)
{
    return info.param == SimdLevel::Portable ? "Portable" : info.param == SimdLevel::Sse2 ? "Sse2" : "Avx2";
}

class ColourReductionReference : public testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override { ForceSimdLevel(GetParam()); }
    void TearDown() override { ForceSimdLevel(SimdLevel::Avx2); }
};

} // namespace

TEST_P(ColourReductionReference, ReductionMatchesTheReference)
{
    struct Case {
        int w, h, noise;
        unsigned count;
        int mode;
    };
    // Thousands of colours (quicksort by weight), a few hundred (exchange sort), and noise that
    // makes the dither meet many cells.
    const Case cases[] = {{200, 150, 12, 256, kMapDiffuse}, {200, 150, 12, 256, kMapNearest},
                          {120, 90, 40, 16, kMapDiffuse},   {64, 48, 3, 2, kMapDiffuse},
                          {40, 30, 0, 256, kMapDiffuse},    {33, 17, 6, 255, kMapNearest}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " noise " << c.noise << " count " << c.count
                                        << " mode " << c.mode);
        CPicture ours, reference;
        FillPicture(ours, c.w, c.h, uint32_t(c.w * 7 + c.noise), c.noise);
        FillPicture(reference, c.w, c.h, uint32_t(c.w * 7 + c.noise), c.noise);
        ASSERT_TRUE(ReduceColours(ours, 0, 0, c.w, c.h, c.count, c.mode, nullptr));
        ReferenceReduce(reference, c.count, c.mode);
        EXPECT_EQ(ours.PaletteSize(), c.count);
        EXPECT_TRUE(Bytes(ours) == Bytes(reference));
    }
}

TEST_P(ColourReductionReference, ApplyPaletteMatchesTheReferenceMapping)
{
    std::mt19937 random(5);
    std::vector<uint8_t> palette(3 * 37);
    for (uint8_t& v : palette)
        v = uint8_t(random());
    for (int mode : {kMapNearest, kMapDiffuse}) {
        CPicture ours, expected;
        FillPicture(ours, 90, 70, 21, 30);
        FillPicture(expected, 90, 70, 21, 30);
        ApplyPalette(ours, 0, 0, 90, 70, 37, palette.data(), mode, nullptr);
        // The reference mapping, as ReferenceReduce does it, against the same palette.
        std::vector<int32_t> cube(64 * 64 * 64, -1);
        auto cell = [&](int r, int g, int b) -> int32_t& { return cube[(r >> 2) << 12 | (g >> 2) << 6 | (b >> 2)]; };
        for (unsigned i = 0; i < 37; ++i)
            cell(palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3]) = int32_t(i);
        for (int y = 0; y < 70; ++y) {
            int eR = 0, eG = 0, eB = 0;
            for (int x = 0; x < 90; ++x) {
                uint8_t* px = expected.Row(y) + x * 3;
                const int b = mode ? std::clamp(px[0] - eB, 0, 255) : px[0];
                const int g = mode ? std::clamp(px[1] - eG, 0, 255) : px[1];
                const int r = mode ? std::clamp(px[2] - eR, 0, 255) : px[2];
                int32_t& c = cell(r, g, b);
                if (c < 0)
                    c = NearestEntryPortable(palette.data(), 37, r, g, b);
                const uint8_t* e = palette.data() + c * 3;
                std::copy(e, e + 3, px);
                eB = e[0] - b;
                eG = e[1] - g;
                eR = e[2] - r;
            }
        }
        for (int y = 0; y < 70; ++y)
            ASSERT_TRUE(std::equal(ours.Row(y), ours.Row(y) + 270, expected.Row(y))) << "mode " << mode << " row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ColourReductionReference,
                         testing::Values(SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2),
                         LevelName);

TEST(ColourReductionCensus, CountsAndProgressMatchSortingEveryKey)
{
    CPicture p;
    FillPicture(p, 300, 200, 9, 20);
    // Every blue value and a few pixels of the highest key, also in a rectangle that starts
    // inside the picture.
    for (int x = 0; x < 256; ++x) {
        const uint8_t bgr[3] = {uint8_t(x), uint8_t(255 - x), uint8_t(x / 3)};
        p.SetPixel(x, 5, bgr);
    }
    const uint8_t white[3] = {255, 255, 255};
    p.SetPixel(299, 199, white);
    for (const auto& [x0, y0, x1, y1] : {std::array<int, 4>{0, 0, 300, 200}, std::array<int, 4>{17, 3, 290, 171},
                                         std::array<int, 4>{5, 5, 5, 9}}) {
        SCOPED_TRACE(testing::Message() << x0 << "," << y0 << "-" << x1 << "," << y1);
        std::vector<int64_t> expectedPositions;
        const std::vector<Record> expected = ReferenceCensus(p, x0, y0, x1, y1, &expectedPositions);
        RecordingProgress progress;
        progress.Begin();
        std::vector<ColourWeight> colours;
        ASSERT_TRUE(TakeColourCensus(p, x0, y0, x1, y1, progress, colours));
        ASSERT_EQ(colours.size(), expected.size());
        for (size_t i = 0; i < colours.size(); ++i) {
            ASSERT_EQ(colours[i].weight, expected[i].weight) << i;
            ASSERT_EQ(colours[i].b << 16 | colours[i].g << 8 | colours[i].r,
                      expected[i].b << 16 | expected[i].g << 8 | expected[i].r)
                << i;
        }
        std::vector<std::string> expectedCalls;
        for (int y = y0; y < y1; ++y)
            if (y % 10 == 0)
                expectedCalls.push_back("Referencing colors...:" + std::to_string(y));
        for (int64_t position : expectedPositions)
            expectedCalls.push_back("Counting colors...:" + std::to_string(position));
        EXPECT_EQ(progress.calls, expectedCalls);
    }
}

TEST(ColourReductionCensus, CancelWhileCountingStopsAndLeavesTheCounterReusable)
{
    CPicture p;
    FillPicture(p, 200, 100, 4, 25);
    class CancelWhenCounting : public CQnProgress {
    public:
        bool SetPos(int64_t position, bool redraw) override
        {
            return Text() != "Counting colors..." && CQnProgress::SetPos(position, redraw);
        }
    } cancel;
    cancel.Begin();
    std::vector<ColourWeight> colours;
    EXPECT_FALSE(TakeColourCensus(p, 0, 0, 200, 100, cancel, colours));
    // A later census of the same picture is complete.
    ASSERT_TRUE(TakeColourCensus(p, 0, 0, 200, 100, CQnProgress::Silent(), colours));
    EXPECT_EQ(colours.size(), ReferenceCensus(p, 0, 0, 200, 100, nullptr).size());
}

TEST(ColourReductionCensus, UnevenBlueValuesStillCountEveryColour)
{
    // The census takes the blue values in ranges of about half the pixels: one blue value
    // holding most pixels, a single blue value, and the heavy value at either end.
    struct Shape {
        const char* name;
        int heavyBlue;    // blue of most pixels
        int heavyPercent; // share of those pixels
    };
    for (const Shape& shape : {Shape{"one value", 77, 100}, Shape{"heavy low", 0, 75}, Shape{"heavy high", 255, 80},
                               Shape{"heavy middle", 128, 55}}) {
        SCOPED_TRACE(shape.name);
        CPicture p;
        ASSERT_TRUE(p.Create(180, 120));
        std::mt19937 random(17);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 180; ++x) {
                const bool heavy = int(random() % 100) < shape.heavyPercent;
                const uint8_t bgr[3] = {uint8_t(heavy ? shape.heavyBlue : int(random() % 256)), uint8_t(random() % 7),
                                        uint8_t(random())};
                p.SetPixel(x, y, bgr);
            }
        std::vector<int64_t> positions;
        const std::vector<Record> expected = ReferenceCensus(p, 0, 0, 180, 120, &positions);
        std::vector<ColourWeight> colours;
        ASSERT_TRUE(TakeColourCensus(p, 0, 0, 180, 120, CQnProgress::Silent(), colours));
        ASSERT_EQ(colours.size(), expected.size());
        for (size_t i = 0; i < colours.size(); ++i)
            ASSERT_TRUE(colours[i].weight == expected[i].weight && colours[i].b == expected[i].b &&
                        colours[i].g == expected[i].g && colours[i].r == expected[i].r)
                << i;
    }
}

TEST(ColourReductionMapping, CancelKeepsTheRowsBeforeItMappedAndTheRestUntouched)
{
    // The diffusing walk runs two rows side by side; a cancel at row 20 must still leave rows
    // 0..19 mapped exactly and row 20 on untouched.
    CPicture mapped, untouched;
    FillPicture(mapped, 70, 45, 8, 30);
    FillPicture(untouched, 70, 45, 8, 30);
    std::vector<uint8_t> palette(3 * 16);
    std::mt19937 random(2);
    for (uint8_t& v : palette)
        v = uint8_t(random());
    CPicture complete;
    FillPicture(complete, 70, 45, 8, 30);
    ApplyPalette(complete, 0, 0, 70, 45, 16, palette.data(), kMapDiffuse, nullptr);

    class CancelAtRow20 : public CQnProgress {
    public:
        bool SetPos(int64_t position, bool redraw) override
        {
            return !(Text() == "Applying New Palette..." && position == 20) && CQnProgress::SetPos(position, redraw);
        }
    } cancel;
    ApplyPalette(mapped, 0, 0, 70, 45, 16, palette.data(), kMapDiffuse, &cancel);
    EXPECT_EQ(mapped.PaletteSize(), 16u) << "ApplyPalette sets the palette also after a cancel";
    for (int y = 0; y < 45; ++y) {
        const CPicture& expected = y < 20 ? complete : untouched;
        ASSERT_TRUE(std::equal(mapped.Row(y), mapped.Row(y) + 70 * 3, expected.Row(y))) << "row " << y;
    }
}
