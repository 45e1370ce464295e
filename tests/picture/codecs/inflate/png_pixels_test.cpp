// The vector RGB and RGBA conversions give the portable bytes exactly at every pixel count
// and offset, and write nothing outside the pixels and alpha bytes they own.
#include <gtest/gtest.h>

#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/png_pixels.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(uint32_t& seed, size_t n)
{
    Bytes v(n);
    for (auto& b : v)
        b = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
    return v;
}
} // namespace

TEST(PngPixels, RgbToBgrSwapsEveryPixelAndNothingElse)
{
    uint32_t seed = 3;
    for (size_t count = 0; count <= 40; ++count)
        for (size_t offset : {size_t(0), size_t(1), size_t(7)}) {
            const Bytes src = RandomBytes(seed, count * 3 + offset);
            Bytes want(count * 3 + 2 * offset + 8, 0xEE), got = want;
            RgbToBgrPortable(want.data() + offset, src.data() + offset, count);
            RgbToBgrSse2(got.data() + offset, src.data() + offset, count);
            ASSERT_EQ(got, want) << "count " << count << " offset " << offset;
            for (size_t k = 0; k < count; ++k)
                ASSERT_EQ(got[offset + 3 * k], src[offset + 3 * k + 2]);
        }
}

TEST(PngPixels, RgbaToBgrAlphaSplitsEveryPixelAndNothingElse)
{
    uint32_t seed = 21;
    for (size_t count = 0; count <= 40; ++count)
        for (size_t offset : {size_t(0), size_t(3)}) {
            const Bytes src = RandomBytes(seed, count * 4 + offset);
            Bytes want(count * 3 + 2 * offset + 8, 0xEE), got = want;
            Bytes wantAlpha(count + 8, 0x11), gotAlpha = wantAlpha;
            RgbaToBgrAlphaPortable(want.data() + offset, wantAlpha.data() + 1, src.data() + offset, count);
            RgbaToBgrAlphaSse2(got.data() + offset, gotAlpha.data() + 1, src.data() + offset, count);
            ASSERT_EQ(got, want) << "count " << count << " offset " << offset;
            ASSERT_EQ(gotAlpha, wantAlpha) << "count " << count << " offset " << offset;
            for (size_t k = 0; k < count; ++k) {
                ASSERT_EQ(got[offset + 3 * k], src[offset + 4 * k + 2]);
                ASSERT_EQ(gotAlpha[1 + k], src[offset + 4 * k + 3]);
            }
        }
}

TEST(PngPixels, ChosenPathFollowsTheForcedLevel)
{
    uint32_t seed = 11;
    const Bytes raw = RandomBytes(seed, 300);
    for (SimdLevel level : {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2}) {
        ForceSimdLevel(level);
        Bytes bgr(300), wantBgr(300);
        RgbToBgr(bgr.data(), raw.data(), 100);
        RgbToBgrPortable(wantBgr.data(), raw.data(), 100);
        EXPECT_EQ(bgr, wantBgr) << "level " << int(level);
        Bytes alpha(75), wantAlpha(75);
        RgbaToBgrAlpha(bgr.data(), alpha.data(), raw.data(), 75);
        RgbaToBgrAlphaPortable(wantBgr.data(), wantAlpha.data(), raw.data(), 75);
        EXPECT_EQ(bgr, wantBgr) << "level " << int(level);
        EXPECT_EQ(alpha, wantAlpha) << "level " << int(level);
    }
    ForceSimdLevel(SimdLevel::Avx2);
}
