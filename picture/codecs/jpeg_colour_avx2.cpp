// The colour conversion with AVX2, 32 pixels a step (formulas as in jpeg_colour_sse2.cpp).
// Unpacks work within 128-bit lanes; every row of 16-bit values below holds pixels 0..7 and
// 16..23 (lo) or 8..15 and 24..31 (hi), and packing restores the natural order.
#include "picture/codecs/jpeg_colour.h"

#if defined(QUENTA_JPEG_COLOUR_X86)
#include <immintrin.h>

#define QUENTA_AVX2 __attribute__((target("avx2"), always_inline)) inline

namespace {
QUENTA_AVX2 __m256i Pair(int a, int b)
{
    return _mm256_set1_epi32(int32_t(uint32_t(uint16_t(a)) | uint32_t(b) << 16));
}

QUENTA_AVX2 __m256i Fixed12(__m256i first, __m256i second, __m256i pair)
{
    const __m256i round = _mm256_set1_epi32(2048);
    const __m256i lo = _mm256_madd_epi16(_mm256_unpacklo_epi16(first, second), pair);
    const __m256i hi = _mm256_madd_epi16(_mm256_unpackhi_epi16(first, second), pair);
    return _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(lo, round), 12),
                              _mm256_srai_epi32(_mm256_add_epi32(hi, round), 12));
}

struct Offsets {
    __m256i blue, green, red;
};

// Offsets of sixteen chroma samples (16-bit, less 128); lane order kept.
QUENTA_AVX2 Offsets ChromaOffsets(__m256i cb, __m256i cr)
{
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i blueLo = _mm256_madd_epi16(_mm256_unpacklo_epi16(cb, one), Pair(7258, 2048));
    const __m256i blueHi = _mm256_madd_epi16(_mm256_unpackhi_epi16(cb, one), Pair(7258, 2048));
    const __m256i redLo = _mm256_madd_epi16(_mm256_unpacklo_epi16(cr, one), Pair(5742, 2048));
    const __m256i redHi = _mm256_madd_epi16(_mm256_unpackhi_epi16(cr, one), Pair(5742, 2048));
    Offsets o;
    o.blue = _mm256_packs_epi32(_mm256_srai_epi32(blueLo, 12), _mm256_srai_epi32(blueHi, 12));
    o.red = _mm256_packs_epi32(_mm256_srai_epi32(redLo, 12), _mm256_srai_epi32(redHi, 12));
    o.green = _mm256_sub_epi16(_mm256_setzero_si256(), Fixed12(cb, cr, Pair(1409, 2925)));
    return o;
}

// Byte n of each 48-byte group of 16 pixels takes channel n % 3 of pixel n / 3: one shuffle
// per channel and output block, the other channels' places zeroed (index with bit 7 set).
struct BgrShuffles {
    alignas(16) int8_t mask[3][3][16]; // [output block][channel][byte]
    BgrShuffles()
    {
        for (int block = 0; block < 3; ++block)
            for (int channel = 0; channel < 3; ++channel)
                for (int j = 0; j < 16; ++j) {
                    const int n = 16 * block + j;
                    mask[block][channel][j] = int8_t(n % 3 == channel ? n / 3 : -128);
                }
    }
};
const BgrShuffles kBgrShuffles;

QUENTA_AVX2 __m256i Mask(int block, int channel)
{
    return _mm256_broadcastsi128_si256(
        _mm_load_si128(reinterpret_cast<const __m128i*>(kBgrShuffles.mask[block][channel])));
}

// Thirty-two pixels of B, G, R bytes (natural order) as 96 bytes.
QUENTA_AVX2 void StoreBgr(__m256i b, __m256i g, __m256i r, uint8_t* out)
{
    __m256i blocks[3];
    #pragma GCC unroll 8
    for (int k = 0; k < 3; ++k)
        blocks[k] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(b, Mask(k, 0)), _mm256_shuffle_epi8(g, Mask(k, 1))),
                                    _mm256_shuffle_epi8(r, Mask(k, 2)));
    // Lane 0 of the blocks: bytes 0..47; lane 1: bytes 48..95.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(blocks[0], blocks[1], 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_permute2x128_si256(blocks[2], blocks[0], 0x30));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 64), _mm256_permute2x128_si256(blocks[1], blocks[2], 0x31));
}

QUENTA_AVX2 __m256i Load32(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

QUENTA_AVX2 void ConvertPixels(const uint8_t* y, const Offsets& lo, const Offsets& hi, uint8_t* out)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i luma = Load32(y);
    const __m256i yl = _mm256_unpacklo_epi8(luma, zero), yh = _mm256_unpackhi_epi8(luma, zero);
    StoreBgr(_mm256_packus_epi16(_mm256_add_epi16(yl, lo.blue), _mm256_add_epi16(yh, hi.blue)),
             _mm256_packus_epi16(_mm256_add_epi16(yl, lo.green), _mm256_add_epi16(yh, hi.green)),
             _mm256_packus_epi16(_mm256_add_epi16(yl, lo.red), _mm256_add_epi16(yh, hi.red)), out);
}

QUENTA_AVX2 Offsets Duplicate(const Offsets& o, bool high)
{
    if (high)
        return {_mm256_unpackhi_epi16(o.blue, o.blue), _mm256_unpackhi_epi16(o.green, o.green),
                _mm256_unpackhi_epi16(o.red, o.red)};
    return {_mm256_unpacklo_epi16(o.blue, o.blue), _mm256_unpacklo_epi16(o.green, o.green),
            _mm256_unpacklo_epi16(o.red, o.red)};
}
} // namespace

__attribute__((target("avx2"))) void JpegYccToBgrRowsAvx2(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb,
                                                         const uint8_t* cr, uint8_t* out0, uint8_t* out1, int width,
                                                         int chromaShift)
{
    const __m256i zero = _mm256_setzero_si256(), mid = _mm256_set1_epi16(128);
    int x = 0;
    for (; x + 32 <= width; x += 32) {
        Offsets lo, hi;
        if (chromaShift == 1) {
            // Sixteen chroma samples in natural order; each pair of pixels shares one.
            const __m256i b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + x / 2)));
            const __m256i r = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + x / 2)));
            const Offsets o = ChromaOffsets(_mm256_sub_epi16(b, mid), _mm256_sub_epi16(r, mid));
            lo = Duplicate(o, false);
            hi = Duplicate(o, true);
        } else {
            const __m256i b = Load32(cb + x), r = Load32(cr + x);
            lo = ChromaOffsets(_mm256_sub_epi16(_mm256_unpacklo_epi8(b, zero), mid),
                               _mm256_sub_epi16(_mm256_unpacklo_epi8(r, zero), mid));
            hi = ChromaOffsets(_mm256_sub_epi16(_mm256_unpackhi_epi8(b, zero), mid),
                               _mm256_sub_epi16(_mm256_unpackhi_epi8(r, zero), mid));
        }
        ConvertPixels(y0 + x, lo, hi, out0 + 3 * x);
        if (y1)
            ConvertPixels(y1 + x, lo, hi, out1 + 3 * x);
    }
    const int chromaX = x >> chromaShift;
    JpegYccToBgrRowsSse2(y0 + x, y1 ? y1 + x : nullptr, cb + chromaX, cr + chromaX, out0 + 3 * x,
                         out1 ? out1 + 3 * x : nullptr, width - x, chromaShift);
}

__attribute__((target("avx2"))) void JpegGreyToBgrRowAvx2(const uint8_t* grey, uint8_t* out, int width)
{
    int x = 0;
    for (; x + 32 <= width; x += 32) {
        const __m256i v = Load32(grey + x);
        StoreBgr(v, v, v, out + 3 * x);
    }
    JpegGreyToBgrRowSse2(grey + x, out + 3 * x, width - x);
}
#endif
