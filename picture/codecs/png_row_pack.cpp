#include "picture/codecs/png_row_pack.h"

#include "base/cpu_features.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#endif

namespace png {

void BgrToRgbPortable(const uint8_t* bgr, uint8_t* rgb, size_t pixels)
{
    for (size_t x = 0; x < pixels; ++x, bgr += 3, rgb += 3) {
        const uint8_t b = bgr[0], g = bgr[1], r = bgr[2];
        rgb[0] = r;
        rgb[1] = g;
        rgb[2] = b;
    }
}

#if defined(__x86_64__) || defined(_M_X64)
namespace {
// Byte i of a 48-byte block (16 pixels) takes byte i + 2, i or i - 2 by its place in the
// pixel; one mask per place and per 16-byte part.
struct PlaceMasks {
    alignas(16) uint8_t bytes[3][3][16];
    constexpr PlaceMasks() : bytes{}
    {
        for (int part = 0; part < 3; ++part)
            for (int i = 0; i < 16; ++i)
                bytes[(part * 16 + i) % 3][part][i] = 0xFF;
    }
};
constexpr PlaceMasks kPlaceMasks{};

__m128i Mask(int place, int part) { return _mm_load_si128(reinterpret_cast<const __m128i*>(kPlaceMasks.bytes[place][part])); }
} // namespace

void BgrToRgbSse2(const uint8_t* bgr, uint8_t* rgb, size_t pixels)
{
    size_t x = 0;
    for (; x + 16 <= pixels; x += 16, bgr += 48, rgb += 48) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 16));
        const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 32));
        // Each part shifted by two bytes either way, with the bytes crossing from its neighbour.
        const __m128i ahead0 = _mm_or_si128(_mm_srli_si128(v0, 2), _mm_slli_si128(v1, 14));
        const __m128i ahead1 = _mm_or_si128(_mm_srli_si128(v1, 2), _mm_slli_si128(v2, 14));
        const __m128i ahead2 = _mm_srli_si128(v2, 2);
        const __m128i behind0 = _mm_slli_si128(v0, 2);
        const __m128i behind1 = _mm_or_si128(_mm_slli_si128(v1, 2), _mm_srli_si128(v0, 14));
        const __m128i behind2 = _mm_or_si128(_mm_slli_si128(v2, 2), _mm_srli_si128(v1, 14));
        const auto mix = [](__m128i ahead, __m128i same, __m128i behind, int part) {
            return _mm_or_si128(_mm_or_si128(_mm_and_si128(ahead, Mask(0, part)), _mm_and_si128(same, Mask(1, part))),
                                _mm_and_si128(behind, Mask(2, part)));
        };
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb), mix(ahead0, v0, behind0, 0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 16), mix(ahead1, v1, behind1, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 32), mix(ahead2, v2, behind2, 2));
    }
    BgrToRgbPortable(bgr, rgb, pixels - x);
}

// Four pixels per 16-byte shuffle; each store writes four bytes past its pixels, which the
// next store (or the tail loop) overwrites, so the loop keeps two pixels in hand.
__attribute__((target("avx2"))) void BgrToRgbAvx2(const uint8_t* bgr, uint8_t* rgb, size_t pixels)
{
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    size_t x = 0;
    for (; x + 18 <= pixels; x += 16, bgr += 48, rgb += 48) {
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 12 * k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 12 * k), _mm_shuffle_epi8(v, swap));
        }
    }
    BgrToRgbPortable(bgr, rgb, pixels - x);
}
#endif

void BgrToRgb(const uint8_t* bgr, uint8_t* rgb, size_t pixels)
{
#if defined(__x86_64__) || defined(_M_X64)
    if (UseAvx2())
        BgrToRgbAvx2(bgr, rgb, pixels);
    else if (UseSse2())
        BgrToRgbSse2(bgr, rgb, pixels);
    else
        BgrToRgbPortable(bgr, rgb, pixels);
#else
    BgrToRgbPortable(bgr, rgb, pixels);
#endif
}

} // namespace png
