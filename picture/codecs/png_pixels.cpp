#include "picture/codecs/png_pixels.h"

#include <cstring>

#include "base/cpu_features.h"

#if defined(__SSE2__) || defined(__x86_64__)
#include <emmintrin.h>
#define QUENTA_PIXELS_SSE2 1
#endif

void RgbToBgrPortable(uint8_t* dst, const uint8_t* src, size_t count)
{
    for (size_t k = 0; k < count; ++k, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

void RgbaToBgrAlphaPortable(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count)
{
    for (size_t k = 0; k < count; ++k, src += 4, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        alpha[k] = src[3];
    }
}

#if QUENTA_PIXELS_SSE2
// Within 16 bytes the B of each pixel moves two places down and its R two places up; the
// sixteenth byte (the next pixel's R) comes out wrong and is rewritten by the next step.
void RgbToBgrSse2(uint8_t* dst, const uint8_t* src, size_t count)
{
    const __m128i green = _mm_setr_epi8(0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0);
    const __m128i first = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1);
    const __m128i third = _mm_setr_epi8(0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0);
    size_t k = 0;
    for (; k + 6 <= count; k += 5, src += 15, dst += 15) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i out = _mm_or_si128(_mm_and_si128(v, green),
                                         _mm_or_si128(_mm_and_si128(_mm_srli_si128(v, 2), first),
                                                      _mm_and_si128(_mm_slli_si128(v, 2), third)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
    }
    RgbToBgrPortable(dst, src, count - k);
}

// Four pixels per step: each 32-bit lane becomes B, G, R, 0; the lanes are then closed up to
// twelve bytes (the four zero bytes behind them are rewritten by the next step), and the
// alpha bytes are narrowed to four.
void RgbaToBgrAlphaSse2(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count)
{
    const __m128i green = _mm_set1_epi32(0x0000FF00), low = _mm_set1_epi32(0xFF);
    const __m128i third = _mm_set1_epi32(0xFF0000);
    const __m128i firstLane = _mm_set_epi32(0, -1, 0, -1), firstHalf = _mm_set_epi32(0, 0, -1, -1);
    size_t k = 0;
    for (; k + 6 <= count; k += 4, src += 16, dst += 12) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i bgr = _mm_or_si128(_mm_and_si128(v, green),
                                         _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 16), low),
                                                      _mm_and_si128(_mm_slli_epi32(v, 16), third)));
        const __m128i pairs =
            _mm_or_si128(_mm_and_si128(bgr, firstLane), _mm_srli_epi64(_mm_andnot_si128(firstLane, bgr), 8));
        const __m128i packed =
            _mm_or_si128(_mm_and_si128(pairs, firstHalf), _mm_srli_si128(_mm_andnot_si128(firstHalf, pairs), 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), packed);
        const __m128i a = _mm_srli_epi32(v, 24);
        const uint32_t four = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(a, a), a)));
        std::memcpy(alpha + k, &four, 4);
    }
    RgbaToBgrAlphaPortable(dst, alpha + k, src, count - k);
}
#else
void RgbaToBgrAlphaSse2(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count)
{
    RgbaToBgrAlphaPortable(dst, alpha, src, count);
}
void RgbToBgrSse2(uint8_t* dst, const uint8_t* src, size_t count) { RgbToBgrPortable(dst, src, count); }
#endif

void RgbToBgr(uint8_t* dst, const uint8_t* src, size_t count)
{
    if (UseSse2())
        RgbToBgrSse2(dst, src, count);
    else
        RgbToBgrPortable(dst, src, count);
}

void RgbaToBgrAlpha(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count)
{
    if (UseSse2())
        RgbaToBgrAlphaSse2(dst, alpha, src, count);
    else
        RgbaToBgrAlphaPortable(dst, alpha, src, count);
}
