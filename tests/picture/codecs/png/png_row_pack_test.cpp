// Every vector form of the BGR -> RGB packing against the portable loop, byte for byte, at
// every length around the vector widths and at unaligned addresses, and the bytes just past
// the row left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/png_row_pack.h"

namespace {
using Pack = void (*)(const uint8_t*, uint8_t*, size_t);

std::vector<uint8_t> Noise(size_t n, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return v;
}

// The first difference from the portable loop over lengths 0..200 pixels and offsets 0..3,
// or "equal". The output lies inside a guarded buffer whose guard bytes must stay untouched.
std::string CompareWithPortable(Pack pack)
{
    const std::vector<uint8_t> input = Noise(3 * 200 + 8, 7);
    for (size_t pixels = 0; pixels <= 200; ++pixels)
        for (size_t offset = 0; offset < 4; ++offset) {
            std::vector<uint8_t> want(3 * pixels + 32, 0xA5), got(3 * pixels + 32, 0xA5);
            png::BgrToRgbPortable(input.data() + offset, want.data() + offset, pixels);
            pack(input.data() + offset, got.data() + offset, pixels);
            if (got != want)
                return "differs at " + std::to_string(pixels) + " pixels, offset " + std::to_string(offset);
        }
    return "equal";
}
} // namespace

TEST(PngRowPack, PortableLoopSwapsBlueAndRed)
{
    const uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
    uint8_t rgb[6] = {};
    png::BgrToRgbPortable(bgr, rgb, 2);
    EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 6), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
}

#if defined(__x86_64__) || defined(_M_X64)
TEST(PngRowPack, Sse2FormMatchesThePortableLoop) { EXPECT_EQ(CompareWithPortable(png::BgrToRgbSse2), "equal"); }

TEST(PngRowPack, Avx2FormMatchesThePortableLoop)
{
    __builtin_cpu_init();
    ASSERT_TRUE(__builtin_cpu_supports("avx2")) << "this processor cannot run the AVX2 form under test";
    EXPECT_EQ(CompareWithPortable(png::BgrToRgbAvx2), "equal");
}
#endif

TEST(PngRowPack, DispatchGivesTheSameBytesAtEveryLevel)
{
    const SimdLevel before = ActiveSimdLevel();
    for (SimdLevel level : {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2}) {
        ForceSimdLevel(level);
        EXPECT_EQ(CompareWithPortable(png::BgrToRgb), "equal") << int(level);
    }
    ForceSimdLevel(before);
}
