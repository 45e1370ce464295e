#include "picture/codecs/jpeg_colour_convert.h"

#include <algorithm>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

void JpegConvertBlock(const uint8_t* const rows[8], int x, int width, float blocks[3][64])
{
    for (int r = 0; r < 8; ++r) {
        for (int i = 0; i < 8; ++i) {
            const uint8_t* px = rows[r] + 3 * std::min(x + i, width - 1);
            const int b = px[0], g = px[1], rd = px[2];
            const int luma = std::min(255, (1224 * rd + 2404 * g + 466 * b + 2048) >> 12);
            const int cb = std::min(255, (2048 * b - 1357 * g - 690 * rd + 526336) >> 12);
            const int cr = std::min(255, (2048 * rd - 1714 * g - 333 * b + 526336) >> 12);
            blocks[0][r * 8 + i] = static_cast<float>(luma - 128);
            blocks[1][r * 8 + i] = static_cast<float>(cb - 128);
            blocks[2][r * 8 + i] = static_cast<float>(cr - 128);
        }
    }
}

#if defined(__SSE2__)
namespace {
// Two 16-bit factors in one 32-bit lane, for pmaddwd: lo x first word + hi x second word.
constexpr int32_t Pair(int lo, int hi)
{
    return static_cast<int32_t>((uint32_t(uint16_t(hi)) << 16) | uint16_t(lo));
}

// Each 32-bit lane gets one pixel's words (R, G) and (B, 256); the 256 times a factor adds
// the rounding term (2048 = 256 x 8, 526336 = 256 x 2056). The low 128-bit half holds
// pixels 0-3 at bytes 0-11, the high half pixels 4-7 at bytes 4-15.
#define QN_PIXEL_RG(base, i) char((base) + 3 * (i) + 2), char(0x80), char((base) + 3 * (i) + 1), char(0x80)
#define QN_PIXEL_B(base, i) char((base) + 3 * (i)), char(0x80), char(0x80), char(0x80)

// One component of eight pixels: the two products summed, scaled, capped, level-shifted.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 Component(__m256i rg, __m256i b, __m256i rgFactors,
                                                                   __m256i bFactors)
{
    const __m256i sum = _mm256_add_epi32(_mm256_madd_epi16(rg, rgFactors), _mm256_madd_epi16(b, bFactors));
    const __m256i value = _mm256_min_epi32(_mm256_srai_epi32(sum, 12), _mm256_set1_epi32(255));
    return _mm256_cvtepi32_ps(_mm256_sub_epi32(value, _mm256_set1_epi32(128)));
}
} // namespace

[[gnu::target("avx2")]] void JpegConvertBlockAvx2(const uint8_t* const rows[8], int x, float blocks[3][64])
{
    const __m256i rgShuffle = _mm256_setr_epi8(QN_PIXEL_RG(0, 0), QN_PIXEL_RG(0, 1), QN_PIXEL_RG(0, 2),
                                               QN_PIXEL_RG(0, 3), QN_PIXEL_RG(4, 0), QN_PIXEL_RG(4, 1),
                                               QN_PIXEL_RG(4, 2), QN_PIXEL_RG(4, 3));
    const __m256i bShuffle = _mm256_setr_epi8(QN_PIXEL_B(0, 0), QN_PIXEL_B(0, 1), QN_PIXEL_B(0, 2), QN_PIXEL_B(0, 3),
                                              QN_PIXEL_B(4, 0), QN_PIXEL_B(4, 1), QN_PIXEL_B(4, 2), QN_PIXEL_B(4, 3));
    const __m256i word256 = _mm256_set1_epi32(256 << 16);
    const __m256i yRg = _mm256_set1_epi32(Pair(1224, 2404)), yB = _mm256_set1_epi32(Pair(466, 8));
    const __m256i cbRg = _mm256_set1_epi32(Pair(-690, -1357)), cbB = _mm256_set1_epi32(Pair(2048, 2056));
    const __m256i crRg = _mm256_set1_epi32(Pair(2048, -1714)), crB = _mm256_set1_epi32(Pair(-333, 2056));
    for (int r = 0; r < 8; ++r) {
        const uint8_t* px = rows[r] + 3 * x;
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 8));
        const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
        const __m256i rg = _mm256_shuffle_epi8(v, rgShuffle);
        const __m256i b = _mm256_or_si256(_mm256_shuffle_epi8(v, bShuffle), word256);
        _mm256_storeu_ps(blocks[0] + r * 8, Component(rg, b, yRg, yB));
        _mm256_storeu_ps(blocks[1] + r * 8, Component(rg, b, cbRg, cbB));
        _mm256_storeu_ps(blocks[2] + r * 8, Component(rg, b, crRg, crB));
    }
}
#undef QN_PIXEL_RG
#undef QN_PIXEL_B
#endif
