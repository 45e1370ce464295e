// The vector colour conversions against the portable one, byte for byte: every (Y, Cb, Cr)
// triple, rows of every width up to a few vector steps (the tails), chroma at full and half
// width, one or two rows at a time, and nothing written past a row's last pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/jpeg_colour.h"

#if !defined(QUENTA_JPEG_COLOUR_X86)
TEST(JpegColourSimd, BuiltForX86)
{
    FAIL() << "the vector colour conversions are built for x86 processors only";
}
#else
namespace {
using Rows = std::function<void(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, uint8_t*,
                                int, int)>;
using Grey = std::function<void(const uint8_t*, uint8_t*, int)>;
constexpr uint8_t kGuard = 0x5A;
constexpr size_t kSlack = 64; // bytes after each output row that must stay as they were

struct Variant {
    const char* name;
    Rows rows;
    Grey grey;
};

std::vector<Variant> Variants()
{
    std::vector<Variant> variants{{"sse2", JpegYccToBgrRowsSse2, JpegGreyToBgrRowSse2}};
    ForceSimdLevel(SimdLevel::Avx2);
    EXPECT_TRUE(UseAvx2()) << "this processor has no AVX2: the AVX2 conversion cannot be tested";
    if (UseAvx2())
        variants.push_back({"avx2", JpegYccToBgrRowsAvx2, JpegGreyToBgrRowAvx2});
    return variants;
}

std::vector<uint8_t> RandomBytes(std::mt19937& rng, size_t n)
{
    std::vector<uint8_t> v(n);
    for (uint8_t& b : v)
        b = uint8_t(rng());
    return v;
}

// The portable conversion of a row, with the guard bytes after it.
std::vector<uint8_t> Expected(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, int width, int shift)
{
    std::vector<uint8_t> out(size_t(width) * 3 + kSlack, kGuard);
    JpegYccToBgrRow(y, cb, cr, out.data(), width, shift);
    return out;
}
} // namespace

TEST(JpegColourSimd, EveryTripleMatchesPortable)
{
    // A row per (Cb, Cr) pair holding every luma value, chroma at full and half width.
    std::vector<uint8_t> luma(256), cb(256), cr(256);
    for (int i = 0; i < 256; ++i)
        luma[size_t(i)] = uint8_t(i);
    for (const Variant& v : Variants()) {
        int mismatches = 0;
        for (int shift = 0; shift < 2; ++shift) {
            for (int b = 0; b < 256; ++b) {
                for (int r = 0; r < 256; ++r) {
                    std::fill(cb.begin(), cb.end(), uint8_t(b));
                    std::fill(cr.begin(), cr.end(), uint8_t(r));
                    std::vector<uint8_t> out(256 * 3 + kSlack, kGuard);
                    v.rows(luma.data(), nullptr, cb.data(), cr.data(), out.data(), nullptr, 256, shift);
                    if (out != Expected(luma.data(), cb.data(), cr.data(), 256, shift) && ++mismatches < 5)
                        ADD_FAILURE() << v.name << " cb " << b << " cr " << r << " shift " << shift;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << v.name;
    }
}

TEST(JpegColourSimd, EveryWidthOneAndTwoRows)
{
    std::mt19937 rng(1);
    for (const Variant& v : Variants()) {
        for (int width = 1; width <= 140; ++width) {
            for (int shift = 0; shift < 2; ++shift) {
                const std::vector<uint8_t> y0 = RandomBytes(rng, size_t(width)), y1 = RandomBytes(rng, size_t(width));
                const size_t chroma = size_t((width + shift) >> shift);
                const std::vector<uint8_t> cb = RandomBytes(rng, chroma), cr = RandomBytes(rng, chroma);
                std::vector<uint8_t> out0(size_t(width) * 3 + kSlack, kGuard), out1 = out0;
                v.rows(y0.data(), nullptr, cb.data(), cr.data(), out0.data(), nullptr, width, shift);
                EXPECT_EQ(out0, Expected(y0.data(), cb.data(), cr.data(), width, shift))
                    << v.name << " one row, width " << width << " shift " << shift;
                std::fill(out0.begin(), out0.end(), kGuard);
                v.rows(y0.data(), y1.data(), cb.data(), cr.data(), out0.data(), out1.data(), width, shift);
                EXPECT_EQ(out0, Expected(y0.data(), cb.data(), cr.data(), width, shift))
                    << v.name << " first of two rows, width " << width << " shift " << shift;
                EXPECT_EQ(out1, Expected(y1.data(), cb.data(), cr.data(), width, shift))
                    << v.name << " second of two rows, width " << width << " shift " << shift;
            }
        }
    }
}

TEST(JpegColourSimd, GreyEveryWidth)
{
    std::mt19937 rng(2);
    for (const Variant& v : Variants()) {
        for (int width = 1; width <= 140; ++width) {
            const std::vector<uint8_t> grey = RandomBytes(rng, size_t(width));
            std::vector<uint8_t> expected(size_t(width) * 3 + kSlack, kGuard), out = expected;
            JpegGreyToBgrRow(grey.data(), expected.data(), width);
            v.grey(grey.data(), out.data(), width);
            EXPECT_EQ(out, expected) << v.name << " width " << width;
        }
    }
}

TEST(JpegColourSimd, PortableRowFollowsTheColourFormulas)
{
    // The reference itself: within one step of R = Y + 1.402 (Cr - 128), G = Y - 0.344136
    // (Cb - 128) - 0.714136 (Cr - 128), B = Y + 1.772 (Cb - 128), clamped; mid-grey exact.
    auto clamp = [](double v) { return std::min(255.0, std::max(0.0, v)); };
    int worst = 0;
    for (int y = 0; y < 256; y += 3) {
        for (int cb = 0; cb < 256; cb += 3) {
            for (int cr = 0; cr < 256; cr += 3) {
                const uint8_t luma = uint8_t(y), b = uint8_t(cb), r = uint8_t(cr);
                uint8_t out[3];
                JpegYccToBgrRow(&luma, &b, &r, out, 1, 0);
                const double expected[3] = {clamp(y + 1.772 * (cb - 128)),
                                            clamp(y - 0.344136 * (cb - 128) - 0.714136 * (cr - 128)),
                                            clamp(y + 1.402 * (cr - 128))};
                for (int k = 0; k < 3; ++k)
                    worst = std::max(worst, int(std::abs(out[k] - expected[k]) + 0.5));
            }
        }
    }
    EXPECT_LE(worst, 1);
    const uint8_t grey = 128;
    uint8_t out[3];
    JpegYccToBgrRow(&grey, &grey, &grey, out, 1, 0);
    EXPECT_EQ(out[0], 128);
    EXPECT_EQ(out[1], 128);
    EXPECT_EQ(out[2], 128);
}
#endif
