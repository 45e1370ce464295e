// The colour conversion with SSE2, 16 pixels a step. The table formulas rewritten around the
// chroma midpoint: blue = y + ((7258 (cb - 128) + 2048) >> 12), red alike with 5742 and cr,
// green = y - ((1409 (cb - 128) + 2925 (cr - 128) + 2048) >> 12): the same integers.
#include "picture/codecs/jpeg_colour.h"

#if defined(QUENTA_JPEG_COLOUR_X86)
#include <emmintrin.h>

namespace {
inline __m128i Pair(int a, int b) { return _mm_set1_epi32(int32_t(uint32_t(uint16_t(a)) | uint32_t(b) << 16)); }

// (a * lo-half-of-pair + b * hi-half + 2048) >> 12 of eight 16-bit pairs, packed to 16 bits.
inline __m128i Fixed12(__m128i first, __m128i second, __m128i pair)
{
    const __m128i round = _mm_set1_epi32(2048);
    const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(first, second), pair);
    const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(first, second), pair);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(lo, round), 12), _mm_srai_epi32(_mm_add_epi32(hi, round), 12));
}

struct Offsets {
    __m128i blue, green, red;
};

// Offsets of eight chroma samples (16-bit, already less 128).
inline Offsets ChromaOffsets(__m128i cb, __m128i cr)
{
    const __m128i one = _mm_set1_epi16(1);
    Offsets o;
    // The rounding term rides in the multiply-add as 1 x 2048 (blue, red) or is added (green).
    o.blue = _mm_packs_epi32(
        _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(cb, one), Pair(7258, 2048)), 12),
        _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(cb, one), Pair(7258, 2048)), 12));
    o.red = _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(cr, one), Pair(5742, 2048)), 12),
                            _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(cr, one), Pair(5742, 2048)), 12));
    o.green = _mm_sub_epi16(_mm_setzero_si128(), Fixed12(cb, cr, Pair(1409, 2925)));
    return o;
}

// Sixteen pixels of B, G, R bytes as 48 bytes, with eight-byte stores that run two bytes past
// the end (the caller keeps a pixel of room).
inline void StoreBgr(__m128i b, __m128i g, __m128i r, uint8_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i bgLo = _mm_unpacklo_epi8(b, g), bgHi = _mm_unpackhi_epi8(b, g);
    const __m128i r0Lo = _mm_unpacklo_epi8(r, zero), r0Hi = _mm_unpackhi_epi8(r, zero);
    const __m128i quads[4] = {_mm_unpacklo_epi16(bgLo, r0Lo), _mm_unpackhi_epi16(bgLo, r0Lo),
                              _mm_unpacklo_epi16(bgHi, r0Hi), _mm_unpackhi_epi16(bgHi, r0Hi)};
    // Each 64-bit half holds two BGR0 pixels: close them up to six bytes.
    const __m128i first = _mm_set1_epi64x(0x0000000000FFFFFF), second = _mm_set1_epi64x(0x0000FFFFFF000000);
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_or_si128(_mm_and_si128(quads[k], first), _mm_and_si128(_mm_srli_epi64(quads[k], 8), second));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12 * k), v);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12 * k + 6), _mm_srli_si128(v, 8));
    }
}

inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// One row's 16 pixels from luma and the offsets of pixels 0..7 (lo) and 8..15 (hi).
inline void ConvertPixels(const uint8_t* y, const Offsets& lo, const Offsets& hi, uint8_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i luma = Load16(y);
    const __m128i yl = _mm_unpacklo_epi8(luma, zero), yh = _mm_unpackhi_epi8(luma, zero);
    StoreBgr(_mm_packus_epi16(_mm_add_epi16(yl, lo.blue), _mm_add_epi16(yh, hi.blue)),
             _mm_packus_epi16(_mm_add_epi16(yl, lo.green), _mm_add_epi16(yh, hi.green)),
             _mm_packus_epi16(_mm_add_epi16(yl, lo.red), _mm_add_epi16(yh, hi.red)), out);
}

inline Offsets Duplicate(const Offsets& o, bool high)
{
    if (high)
        return {_mm_unpackhi_epi16(o.blue, o.blue), _mm_unpackhi_epi16(o.green, o.green),
                _mm_unpackhi_epi16(o.red, o.red)};
    return {_mm_unpacklo_epi16(o.blue, o.blue), _mm_unpacklo_epi16(o.green, o.green), _mm_unpacklo_epi16(o.red, o.red)};
}
} // namespace

void JpegYccToBgrRowsSse2(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint8_t* out0,
                          uint8_t* out1, int width, int chromaShift)
{
    const __m128i zero = _mm_setzero_si128(), mid = _mm_set1_epi16(128);
    int x = 0;
    for (; x + 17 <= width; x += 16) {
        Offsets lo, hi;
        if (chromaShift == 1) {
            const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + x / 2));
            const __m128i r = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + x / 2));
            const Offsets o = ChromaOffsets(_mm_sub_epi16(_mm_unpacklo_epi8(b, zero), mid),
                                            _mm_sub_epi16(_mm_unpacklo_epi8(r, zero), mid));
            lo = Duplicate(o, false);
            hi = Duplicate(o, true);
        } else {
            const __m128i b = Load16(cb + x), r = Load16(cr + x);
            lo = ChromaOffsets(_mm_sub_epi16(_mm_unpacklo_epi8(b, zero), mid), _mm_sub_epi16(_mm_unpacklo_epi8(r, zero), mid));
            hi = ChromaOffsets(_mm_sub_epi16(_mm_unpackhi_epi8(b, zero), mid), _mm_sub_epi16(_mm_unpackhi_epi8(r, zero), mid));
        }
        ConvertPixels(y0 + x, lo, hi, out0 + 3 * x);
        if (y1)
            ConvertPixels(y1 + x, lo, hi, out1 + 3 * x);
    }
    // The last pixels (x is even).
    const int chromaX = x >> chromaShift;
    JpegYccToBgrRow(y0 + x, cb + chromaX, cr + chromaX, out0 + 3 * x, width - x, chromaShift);
    if (y1)
        JpegYccToBgrRow(y1 + x, cb + chromaX, cr + chromaX, out1 + 3 * x, width - x, chromaShift);
}

void JpegGreyToBgrRowSse2(const uint8_t* grey, uint8_t* out, int width)
{
    int x = 0;
    for (; x + 17 <= width; x += 16) {
        const __m128i v = Load16(grey + x);
        StoreBgr(v, v, v, out + 3 * x);
    }
    JpegGreyToBgrRow(grey + x, out + 3 * x, width - x);
}
#endif
