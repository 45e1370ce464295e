// Every vector checksum path gives the portable path's result bit for bit, at any length and
// any alignment, and the portable paths give the standard check values.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/checksum_paths.h"
#include "picture/codecs/checksums.h"

namespace {
std::vector<uint8_t> Noise(size_t n, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        seed = seed * 1664525u + 1013904223u;
        b = uint8_t(seed >> 24);
    }
    return v;
}

const uint8_t* Text(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(SimdLevel level) { ForceSimdLevel(level); }
    ~ScopedSimdLevel() { ForceSimdLevel(SimdLevel::Avx2); }
};
} // namespace

TEST(Checksums, PortablePathsGiveTheStandardCheckValues)
{
    const char* nine = "123456789";
    EXPECT_EQ(Crc32Portable(0, Text(nine), 9), 0xCBF43926u);
    EXPECT_EQ(Adler32Portable(1, Text("Wikipedia"), 9), 0x11E60398u);
    EXPECT_EQ(Crc32Portable(0, nullptr, 0), 0u);
    EXPECT_EQ(Adler32Portable(1, nullptr, 0), 1u);
    // All 0xFF bytes push both Adler sums to their largest before each reduction.
    const std::vector<uint8_t> ones(100000, 0xFF);
    uint32_t a = 1, b = 0;
    for (uint8_t byte : ones) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(Adler32Portable(1, ones.data(), ones.size()), (b << 16) | a);
}

TEST(Checksums, VectorPathsMatchPortableAtEveryLengthAndAlignment)
{
    const auto data = Noise(20000, 7);
    const auto ones = std::vector<uint8_t>(20000, 0xFF);
    for (const auto* buffer : {&data, &ones}) {
        for (size_t start = 0; start < 33; start += (start < 4 ? 1 : 7)) {
            for (size_t n = 0; n + start <= buffer->size(); n += (n < 300 ? 1 : n < 6000 ? 37 : 1999)) {
                const uint8_t* p = buffer->data() + start;
                const uint32_t seedAdler = uint32_t(n * 2654435761u) % 65521 | 0x1234u << 16;
                const uint32_t wantAdler = Adler32Portable(seedAdler, p, n);
                ASSERT_EQ(Adler32Sse2(seedAdler, p, n), wantAdler) << "start " << start << " n " << n;
                ASSERT_EQ(Adler32Avx2(seedAdler, p, n), wantAdler) << "start " << start << " n " << n;
                const uint32_t seedCrc = uint32_t(n * 40503u);
                ASSERT_EQ(Crc32Pclmul(seedCrc, p, n), Crc32Portable(seedCrc, p, n)) << "start " << start << " n " << n;
            }
        }
    }
}

TEST(Checksums, RunningChecksumsAcrossPiecesEqualOneCall)
{
    const auto data = Noise(300000, 3);
    const uint32_t crc = Crc32Portable(0, data.data(), data.size());
    const uint32_t adler = Adler32Portable(1, data.data(), data.size());
    for (SimdLevel level : {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2}) {
        ScopedSimdLevel scoped(level);
        for (size_t piece : {1u, 15u, 64u, 1000u, 8192u, 65537u}) {
            uint32_t c = 0, a = 1;
            for (size_t at = 0; at < data.size(); at += piece) {
                const size_t n = std::min(piece, data.size() - at);
                c = UpdateCrc32(c, data.data() + at, n);
                a = UpdateAdler32(a, data.data() + at, n);
            }
            EXPECT_EQ(c, crc) << "level " << int(level) << " piece " << piece;
            EXPECT_EQ(a, adler) << "level " << int(level) << " piece " << piece;
        }
    }
}

TEST(Checksums, TheProcessorOffersTheVectorPathsTheBuildExpects)
{
#if defined(__x86_64__)
    // Every x86-64 processor this build targets in practice has PCLMULQDQ; without it the
    // folding code would never run here and the comparisons above would prove nothing.
    EXPECT_TRUE(HasPclmul());
#endif
}
