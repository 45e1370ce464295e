// The vector inverse DCTs against the portable one, sample for sample: random blocks across
// the range the vector paths take, the edges of that range, and blocks beyond it, which they
// must hand back untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_idct_simd.h"
#include "picture/codecs/jpeg_tables.h"

#if !defined(QUENTA_JPEG_IDCT_X86)
TEST(JpegIdctSimd, BuiltForX86)
{
    FAIL() << "the vector inverse DCTs are built for x86 processors only";
}
#else
namespace {
using Block = std::array<int16_t, 64>;
using Quant = std::array<uint16_t, 64>;
constexpr size_t kStride = 24; // wider than a block: the bytes beside it must stay untouched
constexpr uint8_t kUntouched = 0xA5;

std::vector<uint8_t> Canvas() { return std::vector<uint8_t>(kStride * 8, kUntouched); }

std::vector<uint8_t> Portable(const Block& b, const Quant& q)
{
    std::vector<uint8_t> out = Canvas();
    JpegInverseDct(b.data(), q.data(), out.data() + 4, kStride);
    return out;
}

// Runs the SSE2 transform; checks it against the portable one when it accepts the block, and
// that it wrote nothing when it does not. Returns whether it accepted.
bool CheckSse2(const Block& b, const Quant& q)
{
    std::vector<uint8_t> out = Canvas();
    const bool accepted = JpegInverseDctSse2(b.data(), q.data(), out.data() + 4, kStride);
    if (accepted)
        EXPECT_EQ(out, Portable(b, q));
    else
        EXPECT_EQ(out, Canvas());
    return accepted;
}

bool CheckAvx2(const Block& a, const Block& b, const Quant& q)
{
    std::vector<uint8_t> outA = Canvas(), outB = Canvas();
    const bool accepted = JpegInverseDctPairAvx2(a.data(), b.data(), q.data(), outA.data() + 4, outB.data() + 4, kStride);
    if (accepted) {
        EXPECT_EQ(outA, Portable(a, q));
        EXPECT_EQ(outB, Portable(b, q));
    } else {
        EXPECT_EQ(outA, Canvas());
        EXPECT_EQ(outB, Canvas());
    }
    return accepted;
}

// A block of coefficients spread like a photo's: large at low frequencies, mostly zero at
// high ones, the dequantized values up to about `reach`.
Block RandomBlock(std::mt19937& rng, const Quant& q, int reach, double density)
{
    Block b{};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 64; ++i) {
        const int u = i & 7, v = i >> 3;
        if (i != 0 && unit(rng) > density / (1 + u + v))
            continue;
        const int limit = std::max(1, reach / (q[size_t(i)] * (1 + (u + v) / 2)));
        b[size_t(i)] = int16_t(std::uniform_int_distribution<int>(-limit, limit)(rng));
    }
    return b;
}

Quant RandomQuant(std::mt19937& rng, int low, int high)
{
    Quant q;
    for (uint16_t& v : q)
        v = uint16_t(std::uniform_int_distribution<int>(low, high)(rng));
    return q;
}

// A block as an encoder makes it: samples of one of five kinds transformed and quantized.
Block EncodedBlock(std::mt19937& rng, const Quant& q, int kind)
{
    std::uniform_int_distribution<int> sample(0, 255);
    float samples[64];
    const int a = sample(rng), b = sample(rng);
    for (int i = 0; i < 64; ++i) {
        const int x = i & 7, y = i >> 3;
        int v = 0;
        switch (kind) {
        case 0: v = sample(rng); break;                                 // noise
        case 1: v = (x + y) % 2 ? 255 : 0; break;                       // finest checkerboard
        case 2: v = x < 4 ? a : b; break;                               // a hard edge
        case 3: v = (x ^ y) & 4 ? 255 : 0; break;                       // coarse checkerboard
        default: v = sample(rng) < 128 ? 0 : 255; break;                // extreme noise
        }
        samples[i] = float(v - 128);
    }
    uint8_t table[64];
    for (int i = 0; i < 64; ++i)
        table[i] = uint8_t(q[size_t(i)]);
    int16_t zigzag[64];
    JpegForwardDctQuantize(samples, JpegMakeQuantDivisors(table), zigzag);
    Block block{};
    for (int k = 0; k < 64; ++k)
        block[kJpegZigzagToNatural[k]] = zigzag[k];
    return block;
}

Quant Flat(uint16_t value)
{
    Quant q;
    q.fill(value);
    return q;
}

bool HaveAvx2()
{
    ForceSimdLevel(SimdLevel::Avx2);
    return UseAvx2();
}
} // namespace

TEST(JpegIdctSimd, Sse2TakesEveryEncodedBlock)
{
    // Blocks as an encoder makes them from 8-bit samples (noise, hard edges, extremes), at
    // every quality: all lie in the vector range, and come out as the portable transform's.
    std::mt19937 rng(5);
    int accepted = 0, total = 0;
    for (int i = 0; i < 6000; ++i) {
        const Quant q = i % 4 == 0 ? Flat(1) : RandomQuant(rng, 1, i % 2 ? 8 : 255);
        accepted += CheckSse2(EncodedBlock(rng, q, i % 5), q);
        ++total;
    }
    EXPECT_EQ(accepted, total);
}

TEST(JpegIdctSimd, Sse2MatchesPortableOnRandomBlocks)
{
    // Photo-like spreads and dense blocks up to and past the vector range: sums near 2^31
    // wrap the same way in both, and what is handed back is left to the portable transform.
    std::mt19937 rng(11);
    int accepted = 0, total = 0;
    for (int reach : {64, 512, 1024, 2048, 4096, 16384}) {
        for (int i = 0; i < 3000; ++i) {
            const Quant q = i % 3 == 0 ? Flat(1) : RandomQuant(rng, 1, i % 2 ? 16 : 255);
            accepted += CheckSse2(RandomBlock(rng, q, reach, i % 4 == 0 ? 8.0 : 1.5), q);
            ++total;
        }
    }
    for (int i = 0; i < 20000; ++i) {
        const int limit = i % 4 == 0 ? 16383 : i % 4 == 1 ? 4095 : i % 4 == 2 ? 1023 : 255;
        Block b;
        for (int16_t& v : b)
            v = int16_t(std::uniform_int_distribution<int>(-limit, limit)(rng));
        accepted += CheckSse2(b, Flat(1));
        ++total;
    }
    EXPECT_GT(accepted, total / 2);
}

TEST(JpegIdctSimd, Sse2TopLeftBlocks)
{
    // Terms only in the top-left 4 x 4 take a shorter graph of their own: large values make
    // any slip in its folded constants show in the rounding.
    std::mt19937 rng(13);
    int accepted = 0, total = 0;
    for (int i = 0; i < 20000; ++i) {
        const int limit = i % 3 == 0 ? 2047 : i % 3 == 1 ? 600 : 60;
        Block b{};
        for (int v = 0; v < 4; ++v)
            for (int u = 0; u < 4; ++u)
                if (i % 2 == 0 || (rng() & 1))
                    b[size_t(v * 8 + u)] = int16_t(std::uniform_int_distribution<int>(-limit, limit)(rng));
        b[1] |= 1; // never DC-only
        const Quant q = i % 4 == 0 ? RandomQuant(rng, 1, 3) : Flat(1);
        accepted += CheckSse2(b, q);
        ++total;
    }
    EXPECT_GT(accepted, total / 2);
    // Right beside the 4 x 4: one term in column 4 or row 4 takes the whole graph.
    for (int pos : {4, 12, 32, 35}) {
        Block b{};
        b[0] = 300;
        b[9] = -200;
        b[size_t(pos)] = 77;
        EXPECT_TRUE(CheckSse2(b, Flat(2))) << pos;
    }
}

TEST(JpegIdctSimd, Sse2RangeEdges)
{
    // Dequantized values beyond -2^14 .. 2^14 - 1 are handed back wherever they stand.
    for (int value : {16384, -16385, 32767, -32768}) {
        for (int pos : {0, 1, 8, 27, 63}) {
            Block b{};
            b[size_t(pos)] = int16_t(value);
            b[pos == 0 ? 1 : 0] = 1;
            EXPECT_FALSE(CheckSse2(b, Flat(1))) << value << " at " << pos;
        }
    }
    // Products that wrap 16 bits into a small value are not taken for small ones.
    Block b{};
    b[2] = 1;
    b[3] = 3;
    Quant q = Flat(1);
    q[3] = 0x5556; // 3 x 0x5556 = 0x10002
    EXPECT_FALSE(CheckSse2(b, q));
    b[3] = 1;
    q[3] = 0xFFFF; // -1 to a signed multiply
    EXPECT_FALSE(CheckSse2(b, q));
    // Quantizers of ordinary tables (below 128) with terms just past what they bound.
    for (int pos : {0, 1, 9, 63}) {
        b = Block{};
        b[pos == 1 ? 2 : 1] = 1;
        b[size_t(pos)] = 516; // 516 x 127 = 65532: -4 in 16 bits
        EXPECT_FALSE(CheckSse2(b, Flat(127))) << pos;
        b[size_t(pos)] = -516; // -516 x 127 = -65532: 4 in 16 bits
        EXPECT_FALSE(CheckSse2(b, Flat(127))) << pos;
    }
    // The first pass's outputs: DC x 4 up to 2^14 - 1 fits, 2^14 does not.
    b = Block{};
    b[0] = 4095;
    b[1] = 7;
    EXPECT_TRUE(CheckSse2(b, Flat(1)));
    b[0] = 4096;
    EXPECT_FALSE(CheckSse2(b, Flat(1)));
    b[0] = -4096;
    EXPECT_TRUE(CheckSse2(b, Flat(1)));
    b[0] = -4097;
    EXPECT_FALSE(CheckSse2(b, Flat(1)));
    // Inputs in range whose column outputs are not: equal odd terms add up.
    b = Block{};
    for (int row = 1; row < 8; row += 2)
        b[size_t(row * 8)] = 3000;
    EXPECT_FALSE(CheckSse2(b, Flat(1)));
}

TEST(JpegIdctSimd, DcOnlyBlocksAnyValue)
{
    // A block without AC terms is always taken, whatever its DC term and quantizer (the
    // portable transform wraps; so must the shortcut).
    for (int dc : {0, 1, -1, 100, -100, 1023, -1024, 2047, -2048, 16384, 32767, -32768}) {
        for (uint16_t q : {1, 2, 16, 99, 255, 4096, 32768, 65535}) {
            Block b{};
            b[0] = int16_t(dc);
            Quant quant = Flat(1);
            quant[0] = q;
            EXPECT_TRUE(CheckSse2(b, quant)) << dc << " x " << q;
        }
    }
}

TEST(JpegIdctSimd, Avx2PairMatchesPortable)
{
    ASSERT_TRUE(HaveAvx2()) << "this processor has no AVX2: the AVX2 transform cannot be tested";
    std::mt19937 rng(3);
    int accepted = 0, total = 0;
    for (int i = 0; i < 12000; ++i) {
        const Quant q = i % 3 == 0 ? Flat(1) : RandomQuant(rng, 1, i % 2 ? 16 : 255);
        const int reach = 64 << (i % 7);
        const Block a = RandomBlock(rng, q, reach, i % 4 == 0 ? 8.0 : 1.5);
        Block b = RandomBlock(rng, q, reach, i % 5 == 0 ? 8.0 : 0.5);
        if (i % 6 == 0)
            std::fill(b.begin() + 1, b.end(), int16_t(0)); // DC-only beside a full block
        accepted += CheckAvx2(a, b, q);
        ++total;
    }
    EXPECT_GT(accepted, total / 2);

    // One block out of range: neither is written.
    Block inRange{}, outOfRange{};
    inRange[0] = 10;
    inRange[9] = -3;
    outOfRange[9] = 16384;
    outOfRange[1] = 1;
    EXPECT_FALSE(CheckAvx2(inRange, outOfRange, Flat(1)));
    EXPECT_FALSE(CheckAvx2(outOfRange, inRange, Flat(1)));
    // Terms just past the quick bound of ordinary tables, wrapping 16 bits to small values.
    for (int pos : {0, 9, 63}) {
        Block wraps{};
        wraps[pos == 9 ? 1 : 9] = 2;
        wraps[size_t(pos)] = int16_t(pos % 2 ? 516 : -516); // x 127 = +-65532
        EXPECT_FALSE(CheckAvx2(inRange, wraps, Flat(127))) << pos;
        EXPECT_FALSE(CheckAvx2(wraps, inRange, Flat(127))) << pos;
    }
    // Both DC-only, extreme values.
    Block dcA{}, dcB{};
    dcA[0] = 32767;
    dcB[0] = -32768;
    EXPECT_TRUE(CheckAvx2(dcA, dcB, Flat(65535)));
    ForceSimdLevel(SimdLevel::Avx2);
}
#endif
