// Adler-32 sixteen (SSE2) or thirty-two (AVX2) bytes per step. Within a run of blocks short
// enough that no sum overflows, the byte sum and the block-weighted sums are gathered in
// vector lanes and folded into a and b once per run:
//   b += n * a + sum over bytes of (n - i) * byte[i],  a += sum of bytes.
// The weight n - i splits into the byte's place in its block and 16 (or 32) times the number
// of blocks that follow, which is what the running prefix of block sums supplies.
#include "picture/codecs/checksum_paths.h"

#include <algorithm>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#define QUENTA_ADLER_VECTOR 1
#endif

namespace {
constexpr uint32_t kBase = 65521;
constexpr size_t kMaxRun = 5552; // bytes whose sums cannot overflow 32 bits

#if QUENTA_ADLER_VECTOR
uint64_t SumLanes32(__m128i v)
{
    alignas(16) uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
    return uint64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
}
#endif
} // namespace

#if QUENTA_ADLER_VECTOR
uint32_t Adler32Sse2(uint32_t adler, const uint8_t* data, size_t n)
{
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightsFirst = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i weightsSecond = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    while (n >= 16) {
        size_t blocks = std::min(n / 16, kMaxRun / 16);
        n -= blocks * 16;
        const uint64_t runBytes = blocks * 16;
        __m128i sum = zero, prefix = zero, weighted = zero;
        for (; blocks; --blocks, data += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
            prefix = _mm_add_epi32(prefix, sum);
            sum = _mm_add_epi32(sum, _mm_sad_epu8(v, zero));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), weightsFirst));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), weightsSecond));
        }
        const uint64_t bytes = SumLanes32(sum);
        const uint64_t newB = b + runBytes * a + 16 * SumLanes32(prefix) + SumLanes32(weighted);
        a = uint32_t((a + bytes) % kBase);
        b = uint32_t(newB % kBase);
    }
    return Adler32Portable((b << 16) | a, data, n);
}

__attribute__((target("avx2"))) uint32_t Adler32Avx2(uint32_t adler, const uint8_t* data, size_t n)
{
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i weights = _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15,
                                             14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
    while (n >= 32) {
        size_t blocks = std::min(n / 32, kMaxRun / 32);
        n -= blocks * 32;
        const uint64_t runBytes = blocks * 32;
        __m256i sum = zero, prefix = zero, weighted = zero;
        for (; blocks; --blocks, data += 32) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
            prefix = _mm256_add_epi32(prefix, sum);
            sum = _mm256_add_epi32(sum, _mm256_sad_epu8(v, zero));
            // Products of at most 255 * (32 + 31) fit the 16-bit pair sums.
            weighted = _mm256_add_epi32(weighted, _mm256_madd_epi16(_mm256_maddubs_epi16(v, weights), ones));
        }
        const __m128i sum128 = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
        const __m128i prefix128 =
            _mm_add_epi32(_mm256_castsi256_si128(prefix), _mm256_extracti128_si256(prefix, 1));
        const __m128i weighted128 =
            _mm_add_epi32(_mm256_castsi256_si128(weighted), _mm256_extracti128_si256(weighted, 1));
        const uint64_t bytes = SumLanes32(sum128);
        const uint64_t newB = b + runBytes * a + 32 * SumLanes32(prefix128) + SumLanes32(weighted128);
        a = uint32_t((a + bytes) % kBase);
        b = uint32_t(newB % kBase);
    }
    return Adler32Sse2((b << 16) | a, data, n);
}
#else
uint32_t Adler32Sse2(uint32_t adler, const uint8_t* data, size_t n) { return Adler32Portable(adler, data, n); }
uint32_t Adler32Avx2(uint32_t adler, const uint8_t* data, size_t n) { return Adler32Portable(adler, data, n); }
#endif
