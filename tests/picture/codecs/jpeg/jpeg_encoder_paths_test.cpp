// The JPEG writer's fast paths against the plain ones: vector transform and colour conversion
// bit for bit, the bit writer's byte stuffing, and whole files byte for byte against the
// earlier writer at every processor level.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/cpu_features.h"
#include "jpeg_encoder_reference.h"
#include "jpeg_test_support.h"
#include "picture/codecs/jpeg_bit_writer.h"
#include "picture/codecs/jpeg_colour_convert.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_encoder.h"
#include "picture/codecs/jpeg_fdct_simd.h"
#include "picture/codecs/jpeg_symbol_store.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/picture.h"

namespace {
// Restores the processor's own level when a test that forced one ends.
class SimdLevelScope {
public:
    explicit SimdLevelScope(SimdLevel level) { ForceSimdLevel(level); }
    ~SimdLevelScope() { ForceSimdLevel(SimdLevel::Avx2); }
};

// The vector levels this build must test; the machine must have them (no silent skip).
std::vector<SimdLevel> VectorLevels()
{
#if defined(__SSE2__)
    return {SimdLevel::Sse2, SimdLevel::Avx2};
#else
    return {};
#endif
}

const char* LevelName(SimdLevel level)
{
    return level == SimdLevel::Portable ? "portable" : level == SimdLevel::Sse2 ? "sse2" : "avx2";
}

std::array<JpegQuantDivisors, 4> SomeDivisors()
{
    return {JpegMakeQuantDivisors(JpegScaledQuantTable(kJpegLuminanceQuantization, 1).data()),
            JpegMakeQuantDivisors(JpegScaledQuantTable(kJpegLuminanceQuantization, 80).data()),
            JpegMakeQuantDivisors(JpegScaledQuantTable(kJpegChrominanceQuantization, 50).data()),
            JpegMakeQuantDivisors(JpegScaledQuantTable(kJpegChrominanceQuantization, 100).data())};
}

#if defined(__SSE2__)
// Blocks that reach every part of the quantiser: level-shifted samples as the writer makes
// them (random, flat, extreme checkerboards) and wide floats that hit the +-2047 limit.
std::vector<std::array<float, 64>> TestBlocks()
{
    std::vector<std::array<float, 64>> blocks;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-128, 127);
    std::uniform_real_distribution<float> wide(-6000.0f, 6000.0f);
    for (int n = 0; n < 4000; ++n) {
        std::array<float, 64> b;
        for (float& v : b)
            v = static_cast<float>(sample(random));
        blocks.push_back(b);
    }
    for (int n = 0; n < 500; ++n) {
        std::array<float, 64> b;
        for (float& v : b)
            v = wide(random);
        blocks.push_back(b);
    }
    for (int level : {-128, -1, 0, 1, 127}) {
        std::array<float, 64> b;
        b.fill(static_cast<float>(level));
        blocks.push_back(b);
    }
    for (int phase = 0; phase < 2; ++phase) {
        std::array<float, 64> b;
        for (int i = 0; i < 64; ++i)
            b[size_t(i)] = ((i / 8 + i % 8 + phase) % 2) ? 127.0f : -128.0f;
        blocks.push_back(b);
    }
    // Small ramps put many products near the rounding thresholds.
    for (int step = 1; step <= 6; ++step) {
        std::array<float, 64> b;
        for (int i = 0; i < 64; ++i)
            b[size_t(i)] = static_cast<float>((i * step) % 37 - 18);
        blocks.push_back(b);
    }
    return blocks;
}

void ExpectTransformMatchesPortable(JpegFdctQuantizeFunction transform, const char* name)
{
    const auto divisors = SomeDivisors();
    int checked = 0;
    for (const auto& block : TestBlocks()) {
        for (const JpegQuantDivisors& d : divisors) {
            // Rows 12 floats apart, as a block inside a wider plane.
            std::vector<float> plane(8 * 12, 999.0f);
            for (int r = 0; r < 8; ++r)
                std::memcpy(plane.data() + r * 12 + 2, block.data() + r * 8, 8 * sizeof(float));
            const std::vector<float> before = plane;
            std::array<float, 64> copy = block;
            int16_t expected[64], actual[64], actualZigzag[64];
            const uint64_t expectedMask = JpegForwardDctQuantize(copy.data(), d, expected);
            const uint64_t actualMask = transform(plane.data() + 2, 12, d, actual);
            for (int k = 0; k < 64; ++k)
                actualZigzag[k] = actual[kJpegFdctZigzagPosition[k]];
            ASSERT_EQ(std::memcmp(expected, actualZigzag, sizeof expected), 0) << name << " block " << checked;
            ASSERT_EQ(expectedMask, actualMask) << name << " block " << checked;
            ASSERT_EQ(plane, before) << name << " changed its input";
            ++checked;
        }
    }
}
#endif

TEST(JpegEncoderPaths, VectorTransformsEqualThePortableOneBitForBit)
{
#if defined(__SSE2__)
    ExpectTransformMatchesPortable(JpegForwardDctQuantizeSse2, "sse2");
    SimdLevelScope avx2(SimdLevel::Avx2);
    ASSERT_EQ(ActiveSimdLevel(), SimdLevel::Avx2) << "this processor cannot run the AVX2 transform";
    ExpectTransformMatchesPortable(JpegForwardDctQuantizeAvx2, "avx2");
#endif
    // The portable wrapper reads a strided block like the vector forms.
    const auto divisors = SomeDivisors();
    float block[64], plane[8 * 9];
    for (int i = 0; i < 64; ++i)
        block[i] = plane[(i / 8) * 9 + i % 8] = static_cast<float>((i * 29) % 256 - 128);
    int16_t expected[64], actual[64];
    EXPECT_EQ(JpegForwardDctQuantize(block, divisors[1], expected),
              JpegForwardDctQuantizePortable(plane, 9, divisors[1], actual));
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(actual[kJpegFdctZigzagPosition[k]], expected[k]) << k;
}

TEST(JpegEncoderPaths, TransformOutputIsTheTransposedNaturalOrder)
{
    // Zigzag entry k is natural (row, column); the transform leaves it at column * 8 + row.
    std::array<bool, 64> seen{};
    for (int k = 0; k < 64; ++k) {
        const int natural = kJpegZigzagToNatural[k];
        EXPECT_EQ(kJpegFdctZigzagPosition[k], (natural % 8) * 8 + natural / 8) << k;
        seen[kJpegFdctZigzagPosition[k]] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 64);
}

TEST(JpegEncoderPaths, TransformIsChosenByTheProcessorLevel)
{
    {
        SimdLevelScope portable(SimdLevel::Portable);
        EXPECT_EQ(JpegSelectForwardDctQuantize(), &JpegForwardDctQuantizePortable);
    }
#if defined(__SSE2__)
    {
        SimdLevelScope sse2(SimdLevel::Sse2);
        EXPECT_EQ(JpegSelectForwardDctQuantize(), &JpegForwardDctQuantizeSse2);
    }
    SimdLevelScope avx2(SimdLevel::Avx2);
    ASSERT_EQ(ActiveSimdLevel(), SimdLevel::Avx2);
    EXPECT_EQ(JpegSelectForwardDctQuantize(), &JpegForwardDctQuantizeAvx2);
#endif
}

TEST(JpegEncoderPaths, ColourConversionKnownValuesAndEdgeRepeat)
{
    // One row of white, black and a primary; the other rows grey; width 3 repeats the red.
    std::vector<uint8_t> pixels(8 * 24, 128);
    const uint8_t row0[9] = {255, 255, 255, 0, 0, 0, 0, 0, 255}; // white, black, red (B, G, R)
    std::memcpy(pixels.data(), row0, sizeof row0);
    const uint8_t* rows[8];
    for (int r = 0; r < 8; ++r)
        rows[r] = pixels.data() + r * 24;
    float blocks[3][64];
    JpegConvertBlock(rows, 0, 3, blocks);
    EXPECT_EQ(blocks[0][0], 127.0f); // white: Y 255, Cb = Cr = 128
    EXPECT_EQ(blocks[1][0], 0.0f);
    EXPECT_EQ(blocks[2][0], 0.0f);
    EXPECT_EQ(blocks[0][1], -128.0f); // black: Y 0
    EXPECT_EQ(blocks[0][2], float(((1224 * 255 + 2048) >> 12) - 128));
    EXPECT_EQ(blocks[2][2], 127.0f); // red: Cr capped at 255
    for (int x = 3; x < 8; ++x)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(blocks[c][x], blocks[c][2]) << "column " << x;
    EXPECT_EQ(blocks[0][8], 0.0f); // grey 128
}

#if defined(__SSE2__)
using ConvertFunction = void (*)(const uint8_t* const rows[8], int x, float blocks[3][64]);

void ExpectConversionMatchesPortable(ConvertFunction convert, const char* name)
{
    // Every 24-bit colour once: 2^24 pixels, 64 per block. Each block sits at the very end of
    // its row buffer, so a read past the 24 bytes would show under the address sanitizer.
    std::vector<std::unique_ptr<uint8_t[]>> rowBuffers;
    const uint8_t* rows[8];
    uint8_t* writable[8];
    for (int r = 0; r < 8; ++r) {
        rowBuffers.emplace_back(new uint8_t[24]);
        rows[r] = writable[r] = rowBuffers.back().get();
    }
    float expected[3][64], actual[3][64];
    for (uint32_t first = 0; first < (1u << 24); first += 64) {
        for (uint32_t i = 0; i < 64; ++i) {
            const uint32_t colour = first + i;
            uint8_t* px = writable[i / 8] + 3 * (i % 8);
            px[0] = uint8_t(colour);
            px[1] = uint8_t(colour >> 8);
            px[2] = uint8_t(colour >> 16);
        }
        JpegConvertBlock(rows, 0, 8, expected);
        convert(rows, 0, actual);
        ASSERT_EQ(std::memcmp(expected, actual, sizeof expected), 0) << name << ": colours from " << first;
    }
    // A block further along a row, with its neighbours different.
    std::vector<uint8_t> wide(8 * 48);
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = uint8_t(i * 37 + 11);
    for (int r = 0; r < 8; ++r)
        rows[r] = wide.data() + r * 48;
    JpegConvertBlock(rows, 8, 16, expected);
    convert(rows, 8, actual);
    EXPECT_EQ(std::memcmp(expected, actual, sizeof expected), 0) << name;
}
#endif

TEST(JpegEncoderPaths, VectorColourConversionsEqualThePortableOneForEveryColour)
{
#if defined(__SSE2__)
    ExpectConversionMatchesPortable(JpegConvertBlockSse2, "sse2");
    SimdLevelScope avx2(SimdLevel::Avx2);
    ASSERT_EQ(ActiveSimdLevel(), SimdLevel::Avx2) << "this processor cannot run the AVX2 conversion";
    ExpectConversionMatchesPortable(JpegConvertBlockAvx2, "avx2");
#endif
}

// The bit writer's output for a sequence of codes, written one bit at a time.
std::vector<uint8_t> BitByBit(const std::vector<std::pair<uint32_t, int>>& codes)
{
    std::vector<uint8_t> out;
    uint32_t current = 0;
    int filled = 0;
    const auto bit = [&](uint32_t b) {
        current = (current << 1) | b;
        if (++filled == 8) {
            out.push_back(uint8_t(current));
            if (current == 0xFF)
                out.push_back(0);
            current = 0;
            filled = 0;
        }
    };
    for (const auto& [code, length] : codes)
        for (int i = length - 1; i >= 0; --i)
            bit((code >> i) & 1);
    while (filled)
        bit(1);
    return out;
}

std::vector<uint8_t> Written(const std::vector<std::pair<uint32_t, int>>& codes)
{
    JpegBitWriter writer;
    std::vector<uint8_t> out;
    for (const auto& [code, length] : codes) {
        writer.Put(code, length);
        if (writer.Size() >= JpegBitWriter::kChunk) {
            out.insert(out.end(), writer.Data(), writer.Data() + writer.Size());
            writer.Clear();
        }
    }
    writer.Flush();
    out.insert(out.end(), writer.Data(), writer.Data() + writer.Size());
    return out;
}

TEST(JpegEncoderPaths, BitWriterStuffsEveryFfByteAtEveryAlignment)
{
    // Runs of ones of every length after every offset make 0xFF bytes in every position of
    // the 32-bit words, including whole words of them.
    std::vector<std::pair<uint32_t, int>> codes;
    for (int offset = 0; offset < 32; ++offset)
        for (int ones = 1; ones <= 28; ++ones) {
            codes.push_back({0, offset % 8});
            codes.push_back({(1u << ones) - 1, ones});
            codes.push_back({1, offset / 8 + 1});
        }
    codes.push_back({0xFFFFFFFFu, 32});
    codes.push_back({0xFFFFFFFFu, 32});
    EXPECT_EQ(Written(codes), BitByBit(codes));

    // Random codes, many with high ones, past several chunks.
    std::mt19937 random(3);
    codes.clear();
    for (int n = 0; n < 400000; ++n) {
        const int length = int(random() % 29);
        uint32_t code = length ? random() >> (32 - length) : 0;
        if (random() % 3 == 0 && length)
            code |= ((1u << length) - 1) & ~((1u << (length / 2)) - 1);
        codes.push_back({code, length});
    }
    const std::vector<uint8_t> written = Written(codes);
    EXPECT_GT(written.size(), 3 * JpegBitWriter::kChunk);
    EXPECT_EQ(written, BitByBit(codes));
}

TEST(JpegEncoderPaths, BitWriterPadsTheLastByteWithOnes)
{
    EXPECT_EQ(Written({}), std::vector<uint8_t>{});
    EXPECT_EQ(Written({{0, 1}}), std::vector<uint8_t>{0x7F});
    EXPECT_EQ(Written({{0, 8}}), std::vector<uint8_t>{0x00});
    EXPECT_EQ(Written({{1, 1}}), (std::vector<uint8_t>{0xFF, 0x00})); // padding can make an 0xFF
    EXPECT_EQ(Written({{0x5, 3}, {0, 30}}), (std::vector<uint8_t>{0xA0, 0x00, 0x00, 0x00, 0x7F}));
}

TEST(JpegEncoderPaths, BlockEntriesCarryRunsLongTermsAndTheMissingEndOfBlock)
{
    // Terms in the transform's order; DC 2047 after a predictor of -2047 (12 extra bits).
    int16_t coefficients[64] = {};
    uint64_t mask = 0;
    const auto set = [&](int zigzag, int16_t value) {
        coefficients[kJpegFdctZigzagPosition[zigzag]] = value;
        mask |= uint64_t{1} << zigzag;
    };
    set(0, 2047);
    set(1, -1);
    set(20, 300);   // run 18: one run of 16 zeros, then run 2, size 9 (two entries)
    set(63, -2047); // run 42: two runs of 16, then run 10, size 11; no end-of-block
    int predictor = -2047;
    JpegSymbolFrequencies dc{}, ac{};
    uint16_t entries[JpegSymbolStore::kPerBlock];
    const uint16_t* end = JpegCodeBlock(coefficients, mask, predictor, entries, dc, ac);
    const std::vector<uint16_t> expected = {
        uint16_t(12 << 12 | (4094 & 0xFFF)), // DC difference 4094
        uint16_t(0x01 << 8 | 0),             // -1: size 1, bits 0
        0xF000,
        uint16_t(0x29 << 8), 300,
        0xF000, 0xF000,
        uint16_t(0xAB << 8), uint16_t((-2047 - 1) & 0x7FF),
        JpegSymbolStore::kLastTermCoded,
    };
    EXPECT_EQ(std::vector<uint16_t>(static_cast<const uint16_t*>(entries), end), expected);
    EXPECT_EQ(predictor, 2047);
    EXPECT_EQ(dc[12], 1);
    EXPECT_EQ(ac[0x01], 1);
    EXPECT_EQ(ac[0xF0], 3);
    EXPECT_EQ(ac[0x29], 1);
    EXPECT_EQ(ac[0xAB], 1);
    EXPECT_EQ(ac[0x00], 0);

    // A DC-only block: difference 0, then end-of-block.
    int16_t flat[64] = {};
    flat[0] = 2047;
    end = JpegCodeBlock(flat, 1, predictor, entries, dc, ac);
    EXPECT_EQ(std::vector<uint16_t>(static_cast<const uint16_t*>(entries), end), (std::vector<uint16_t>{0x0000, JpegSymbolStore::kEndOfBlock}));
    EXPECT_EQ(dc[0], 1);
    EXPECT_EQ(ac[0x00], 1);
}

// A picture of `kind`: 0 photo-like, 1 white noise (large coefficients, long codes, many
// 0xFF bytes), 2 flat with a few hard edges (long zero runs), 3 a one-pixel checkerboard of
// black and white (the largest terms, the last term of each block coded).
void MakePicture(CPicture& picture, int width, int height, int kind, uint32_t seed)
{
    if (kind == 0) {
        FillPicture(picture, MakePhotoLike(width, height, seed));
        return;
    }
    ASSERT_TRUE(picture.Create(unsigned(width), unsigned(height)));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            picture.Row(y)[x] = kind == 1   ? uint8_t(random())
                                : kind == 3 ? uint8_t((x / 3 + y) % 2 ? 255 : 0)
                                            : uint8_t(((x / 3) * 7 / (width + 1)) * 40 + (y > height / 2 ? 90 : 0));
}

TEST(JpegEncoderPaths, FilesEqualTheEarlierWriterAtEveryLevel)
{
    struct Case {
        int width, height, kind, quality;
    };
    const Case cases[] = {
        {1, 1, 1, 80},    {7, 7, 0, 80},    {8, 8, 1, 100},  {9, 9, 0, 50},    {15, 17, 1, 1},
        {16, 16, 2, 80},  {23, 5, 1, 95},   {64, 48, 0, 80}, {101, 67, 1, 100}, {300, 7, 0, 80},
        {5, 300, 2, 30},  {130, 90, 2, 100}, {257, 129, 0, 80}, {256, 144, 1, 80}, {64, 40, 3, 100},
        {37, 21, 3, 80},
    };
    std::vector<SimdLevel> levels = VectorLevels();
    levels.insert(levels.begin(), SimdLevel::Portable);
    for (const Case& c : cases) {
        CPicture picture;
        MakePicture(picture, c.width, c.height, c.kind, uint32_t(c.width * 131 + c.height));
        const std::vector<uint8_t> expected = ReferenceJpegEncode(picture, c.quality);
        for (SimdLevel level : levels) {
            SimdLevelScope scope(level);
            ASSERT_EQ(ActiveSimdLevel(), level);
            const std::vector<uint8_t> actual = EncodeJpeg(picture, c.quality);
            ASSERT_FALSE(actual.empty());
            EXPECT_TRUE(actual == expected) << c.width << " x " << c.height << " kind " << c.kind << " quality "
                                            << c.quality << " at " << LevelName(level);
        }
    }
}

TEST(JpegEncoderPaths, LargeNoisyFileCrossesManyChunksUnchanged)
{
    // About 3 MB of entropy-coded data: many bit writer chunks and growths of the symbol store.
    CPicture picture;
    MakePicture(picture, 1000, 700, 1, 99);
    const std::vector<uint8_t> expected = ReferenceJpegEncode(picture, 100);
    ASSERT_GT(expected.size(), 20 * JpegBitWriter::kChunk);
    for (SimdLevel level : {SimdLevel::Portable, SimdLevel::Avx2}) {
        SimdLevelScope scope(level);
        EXPECT_TRUE(EncodeJpeg(picture, 100) == expected) << LevelName(level);
    }
}
} // namespace
