// The nearest-entry searches of the colour reduction: every vector level gives the portable
// walk's answer, ties included (the lowest index wins).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/cpu_features.h"
#include "picturetools/core/colour_reduction_search.h"

namespace {

const SimdLevel kLevels[] = {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2};

// Compares every level with the portable walk for each colour of `probes`.
void ExpectAllLevelsAgree(const std::vector<uint8_t>& palette, const std::vector<uint8_t>& probes)
{
    const unsigned count = unsigned(palette.size() / 3);
    const CPaletteSearch search(palette.data(), count);
    for (size_t i = 0; i + 2 < probes.size(); i += 3) {
        const int r = probes[i], g = probes[i + 1], b = probes[i + 2];
        const int32_t expected = NearestEntryPortable(palette.data(), count, r, g, b);
        for (SimdLevel level : kLevels)
            ASSERT_EQ(search.NearestAt(level, r, g, b), expected)
                << "level " << int(level) << " count " << count << " colour " << r << "," << g << "," << b;
    }
}

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (uint8_t& v : bytes)
        v = uint8_t(random());
    return bytes;
}

} // namespace

TEST(ColourReductionSearch, VectorLevelsMatchPortableForEveryPaletteSize)
{
    std::mt19937 random(7);
    // Sizes around the 8- and 16-entry steps and the padding with entry 0.
    for (unsigned count : {1u, 2u, 3u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 33u, 100u, 255u, 256u, 257u}) {
        SCOPED_TRACE(count);
        ExpectAllLevelsAgree(RandomBytes(random, count * 3), RandomBytes(random, 3 * 400));
    }
}

TEST(ColourReductionSearch, TiesGoToTheLowestIndex)
{
    // Duplicates everywhere: the first of equal entries must win, also when the duplicate sits
    // in a later vector lane or in the padding (copies of entry 0).
    std::mt19937 random(11);
    std::vector<uint8_t> palette;
    for (int i = 0; i < 40; ++i) {
        const uint8_t v = uint8_t(random() % 4 * 85);
        palette.insert(palette.end(), {v, uint8_t(255 - v), v});
    }
    std::vector<uint8_t> probes;
    for (int v = 0; v < 256; v += 5)
        probes.insert(probes.end(), {uint8_t(v), uint8_t(255 - v), uint8_t(v / 2)});
    ExpectAllLevelsAgree(palette, probes);

    // Equal distances from different entries: r 1 away costs 299, b 3 away 342 > 299, so
    // exact ties need the same channel; entries 10 below and 10 above the colour tie.
    const std::vector<uint8_t> symmetric = {0, 0, 90, 0, 0, 110, 0, 0, 100};
    const CPaletteSearch search(symmetric.data(), 3);
    for (SimdLevel level : kLevels) {
        EXPECT_EQ(search.NearestAt(level, 100, 0, 0), 2);
        EXPECT_EQ(search.NearestAt(level, 105, 0, 0), 1) << "5 from 110, 5 from 100: the lower index, 1";
    }
}

TEST(ColourReductionSearch, ExtremeColoursAndTheLargestDistance)
{
    // Black against white gives the largest distance (255000): the packed key must not overflow.
    const std::vector<uint8_t> palette = {255, 255, 255, 254, 255, 255, 0, 0, 0};
    std::vector<uint8_t> probes = {0, 0, 0, 255, 255, 255, 0, 255, 0, 255, 0, 255, 128, 128, 128};
    ExpectAllLevelsAgree(palette, probes);
    const std::vector<uint8_t> whiteOnly = {255, 255, 255};
    const CPaletteSearch search(whiteOnly.data(), 1);
    for (SimdLevel level : kLevels)
        EXPECT_EQ(search.NearestAt(level, 0, 0, 0), 0);
}

TEST(ColourReductionSearch, PalettesBeyondTheVectorLimitUseThePortableWalk)
{
    std::mt19937 random(3);
    const unsigned count = CPaletteSearch::kMaxVectorEntries + 5;
    std::vector<uint8_t> palette = RandomBytes(random, size_t(count) * 3);
    // The best entry sits beyond the 13-bit index range of the vector keys.
    palette[size_t(count - 1) * 3] = 1;
    palette[size_t(count - 1) * 3 + 1] = 2;
    palette[size_t(count - 1) * 3 + 2] = 3;
    for (size_t i = 0; i + 1 < count; ++i)
        if (palette[i * 3] == 1 && palette[i * 3 + 1] == 2 && palette[i * 3 + 2] == 3)
            palette[i * 3] = 200;
    const CPaletteSearch search(palette.data(), count);
    for (SimdLevel level : kLevels)
        EXPECT_EQ(search.NearestAt(level, 3, 2, 1), int32_t(count - 1));
}
