#include "picture/codecs/jpeg_colour_convert.h"

#include <algorithm>
#include <cstring>

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

// SSE2 has no byte shuffle: each pixel's three bytes are loaded as one 32-bit lane (blue,
// green, red and a byte of the next pixel, which a zero factor drops), widened to words, and
// pmaddwd sums blue and green in one lane, red in the next; the lanes are then paired up.
inline __m128i PixelLanes(const uint8_t* px, int first)
{
    uint32_t w[4];
    for (int i = 0; i < 4; ++i) {
        const int pixel = first + i;
        if (pixel < 7) {
            std::memcpy(&w[i], px + 3 * pixel, 4);
        } else {
            std::memcpy(&w[i], px + 20, 4); // the last pixel: no byte past the block is read
            w[i] >>= 8;
        }
    }
    return _mm_setr_epi32(int32_t(w[0]), int32_t(w[1]), int32_t(w[2]), int32_t(w[3]));
}

// One component of eight pixels (lanes of pixels 0-3 and 4-7) as capped, level-shifted
// 16-bit values.
inline __m128i ComponentSse2(__m128i pixels03, __m128i pixels47, __m128i factors, __m128i rounding)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i sums[2];
    const __m128i halves[2] = {pixels03, pixels47};
    for (int h = 0; h < 2; ++h) {
        const __m128 a = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpacklo_epi8(halves[h], zero), factors));
        const __m128 b = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpackhi_epi8(halves[h], zero), factors));
        const __m128i even = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        sums[h] = _mm_srai_epi32(_mm_add_epi32(_mm_add_epi32(even, odd), rounding), 12);
    }
    const __m128i value = _mm_min_epi16(_mm_packs_epi32(sums[0], sums[1]), _mm_set1_epi16(255));
    return _mm_sub_epi16(value, _mm_set1_epi16(128));
}

inline void StoreFloats(float* out, __m128i words)
{
    // Sign-extend the words to 32 bits: duplicate each, shift right arithmetically.
    _mm_storeu_ps(out, _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(words, words), 16)));
    _mm_storeu_ps(out + 4, _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(words, words), 16)));
}
} // namespace

void JpegConvertBlockSse2(const uint8_t* const rows[8], int x, float blocks[3][64])
{
    // Words blue, green, red, (next pixel) per pixel.
    const __m128i yFactors = _mm_setr_epi16(466, 2404, 1224, 0, 466, 2404, 1224, 0);
    const __m128i cbFactors = _mm_setr_epi16(2048, -1357, -690, 0, 2048, -1357, -690, 0);
    const __m128i crFactors = _mm_setr_epi16(-333, -1714, 2048, 0, -333, -1714, 2048, 0);
    const __m128i yRounding = _mm_set1_epi32(2048), cRounding = _mm_set1_epi32(526336);
    for (int r = 0; r < 8; ++r) {
        const uint8_t* px = rows[r] + 3 * x;
        const __m128i pixels03 = PixelLanes(px, 0), pixels47 = PixelLanes(px, 4);
        StoreFloats(blocks[0] + r * 8, ComponentSse2(pixels03, pixels47, yFactors, yRounding));
        StoreFloats(blocks[1] + r * 8, ComponentSse2(pixels03, pixels47, cbFactors, cRounding));
        StoreFloats(blocks[2] + r * 8, ComponentSse2(pixels03, pixels47, crFactors, cRounding));
    }
}

namespace {
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
