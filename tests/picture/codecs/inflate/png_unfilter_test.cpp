// The vector unfiltering gives the portable bytes exactly, for every filter and pixel size,
// on rows full of Paeth ties and extremes, without touching bytes outside a row.
#include <gtest/gtest.h>

#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/png_unfilter.h"

namespace {
using Bytes = std::vector<uint8_t>;

struct Random {
    uint32_t seed;
    uint32_t Next() { return seed = seed * 1664525u + 1013904223u, seed >> 8; }
};

// Bytes from a small set (ties in Paeth's distances, sums that wrap) or from the full range.
Bytes RandomRow(Random& r, size_t n, bool fewValues)
{
    static const uint8_t kSet[] = {0, 1, 2, 127, 128, 129, 254, 255};
    Bytes v(n);
    for (auto& b : v)
        b = fewValues ? kSet[r.Next() % 8] : uint8_t(r.Next());
    return v;
}
} // namespace

TEST(PngUnfilter, PortableFormMatchesTheFilterDefinitions)
{
    // Two RGB pixels; the row above is 10 20 30 40 50 60.
    const Bytes above = {10, 20, 30, 40, 50, 60};
    const Bytes raw = {1, 2, 3, 200, 100, 50};
    const std::vector<Bytes> want = {
        {1, 2, 3, 200, 100, 50},                   // None
        {1, 2, 3, 201, 102, 53},                   // Sub: plus the left pixel
        {11, 22, 33, 240, 150, 110},               // Up: plus the pixel above
        {6, 12, 18, 200 + 23, 100 + 31, 50 + 39},  // Average: plus (left + above) / 2
        {11, 22, 33, 240, 150, 110}};              // Paeth: b wins (a = left, c = above-left)
    for (unsigned filter = 0; filter <= 4; ++filter) {
        Bytes row = raw;
        UnfilterRowPortable(row.data(), above.data(), row.size(), 3, filter);
        EXPECT_EQ(row, want[filter]) << "filter " << filter;
    }
}

TEST(PngUnfilter, Sse2MatchesPortableBitForBit)
{
    Random r{99};
    size_t rows = 0;
    for (unsigned bpp : {1u, 2u, 3u, 4u, 6u, 8u})
        for (unsigned filter = 0; filter <= 4; ++filter)
            for (size_t pixels : {size_t(1), size_t(2), size_t(5), size_t(6), size_t(17), size_t(301)})
                for (bool fewValues : {true, false}) {
                    const size_t n = pixels * bpp;
                    // Exact-size buffers: a sanitizer build sees any access past the row.
                    const Bytes above = RandomRow(r, n, fewValues), raw = RandomRow(r, n, fewValues);
                    Bytes want = raw, got = raw;
                    UnfilterRowPortable(want.data(), above.data(), n, bpp, filter);
                    UnfilterRowSse2(got.data(), above.data(), n, bpp, filter);
                    ASSERT_EQ(got, want) << "bpp " << bpp << " filter " << filter << " pixels " << pixels;
                    ++rows;
                }
    EXPECT_EQ(rows, 6u * 5 * 6 * 2);
}

TEST(PngUnfilter, RowsChainedThroughAnImageStayEqual)
{
    // Each unfiltered row is the next one's "above", as in the reader: differences would grow.
    Random r{5};
    for (unsigned bpp : {3u, 4u}) {
        const size_t n = 97 * bpp;
        Bytes aboveWant(n, 0), aboveGot(n, 0);
        for (int y = 0; y < 200; ++y) {
            const unsigned filter = r.Next() % 5;
            Bytes want = RandomRow(r, n, y % 2 == 0), got = want;
            UnfilterRowPortable(want.data(), aboveWant.data(), n, bpp, filter);
            UnfilterRowSse2(got.data(), aboveGot.data(), n, bpp, filter);
            ASSERT_EQ(got, want) << "bpp " << bpp << " row " << y;
            aboveWant.swap(want);
            aboveGot.swap(got);
        }
    }
}

TEST(PngUnfilter, ChosenPathFollowsTheForcedLevel)
{
    Random r{11};
    const Bytes above = RandomRow(r, 300, false), raw = RandomRow(r, 300, false);
    Bytes want = raw;
    UnfilterRowPortable(want.data(), above.data(), raw.size(), 3, 4);
    for (SimdLevel level : {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2}) {
        ForceSimdLevel(level);
        Bytes got = raw;
        UnfilterRow(got.data(), above.data(), raw.size(), 3, 4);
        EXPECT_EQ(got, want) << "level " << int(level);
    }
    ForceSimdLevel(SimdLevel::Avx2);
}
