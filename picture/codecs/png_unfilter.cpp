#include "picture/codecs/png_unfilter.h"

#include <cstdlib>
#include <cstring>

#include "base/cpu_features.h"

#if defined(__SSE2__) || defined(__x86_64__)
#include <emmintrin.h>
#define QUENTA_UNFILTER_SSE2 1
#endif

namespace {
uint8_t PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}
} // namespace

void UnfilterRowPortable(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    const size_t lead = bpp < rowBytes ? bpp : rowBytes;
    switch (filter) {
    case 1:
        for (size_t i = bpp; i < rowBytes; ++i)
            row[i] = uint8_t(row[i] + row[i - bpp]);
        break;
    case 2:
        for (size_t i = 0; i < rowBytes; ++i)
            row[i] = uint8_t(row[i] + previous[i]);
        break;
    case 3:
        for (size_t i = 0; i < lead; ++i)
            row[i] = uint8_t(row[i] + (previous[i] >> 1));
        for (size_t i = bpp; i < rowBytes; ++i)
            row[i] = uint8_t(row[i] + ((unsigned(row[i - bpp]) + previous[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < lead; ++i)
            row[i] = uint8_t(row[i] + previous[i]);
        for (size_t i = bpp; i < rowBytes; ++i)
            row[i] = uint8_t(row[i] + PaethPredictor(row[i - bpp], previous[i], previous[i - bpp]));
        break;
    default: break;
    }
}

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

#if QUENTA_UNFILTER_SSE2
namespace {
// One pixel of 3 or 4 bytes as 16-bit lanes. Loads and stores move exactly bpp bytes, so
// nothing outside the row is touched. Three bytes are put together in a register: a 4-byte
// load from a stack copy would wait for the partial stores to retire.
template <unsigned Bpp>
__m128i LoadPixel(const uint8_t* p)
{
    uint32_t v;
    if constexpr (Bpp == 3) {
        uint16_t low;
        std::memcpy(&low, p, 2);
        v = low | uint32_t(p[2]) << 16;
    } else {
        std::memcpy(&v, p, 4);
    }
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), _mm_setzero_si128());
}

template <unsigned Bpp>
void StorePixel(uint8_t* p, __m128i pixel16)
{
    const uint32_t v = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(pixel16, pixel16)));
    std::memcpy(p, &v, Bpp);
}

__m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

// The pixel's sum with its predictor, kept to 8 bits per lane.
__m128i AddByte(__m128i raw, __m128i predictor)
{
    return _mm_and_si128(_mm_add_epi16(raw, predictor), _mm_set1_epi16(0xFF));
}

template <unsigned Bpp>
void SubSse2(uint8_t* row, size_t rowBytes)
{
    __m128i left = LoadPixel<Bpp>(row);
    for (size_t i = Bpp; i + Bpp <= rowBytes; i += Bpp) {
        left = AddByte(LoadPixel<Bpp>(row + i), left);
        StorePixel<Bpp>(row + i, left);
    }
}

template <unsigned Bpp>
void AverageSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes)
{
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + Bpp <= rowBytes; i += Bpp) {
        const __m128i above = LoadPixel<Bpp>(previous + i);
        left = AddByte(LoadPixel<Bpp>(row + i), _mm_srli_epi16(_mm_add_epi16(left, above), 1));
        StorePixel<Bpp>(row + i, left);
    }
}

// Paeth's choice as in the portable form: the left pixel a when |p - a| is smallest, else
// the upper b when |p - b| <= |p - c|, else the upper-left c, with p = a + b - c.
template <unsigned Bpp>
void PaethSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes)
{
    __m128i left = _mm_setzero_si128(), upperLeft = _mm_setzero_si128();
    for (size_t i = 0; i + Bpp <= rowBytes; i += Bpp) {
        const __m128i above = LoadPixel<Bpp>(previous + i);
        const __m128i bc = _mm_sub_epi16(above, upperLeft), ac = _mm_sub_epi16(left, upperLeft);
        const __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
        const __m128i takeC = _mm_cmpgt_epi16(pb, pc);
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(takeC, upperLeft), _mm_andnot_si128(takeC, above));
        const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
        const __m128i predictor = _mm_or_si128(_mm_and_si128(notA, bOrC), _mm_andnot_si128(notA, left));
        left = AddByte(LoadPixel<Bpp>(row + i), predictor);
        StorePixel<Bpp>(row + i, left);
        upperLeft = above;
    }
}

void UpSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes)
{
    size_t i = 0;
    for (; i + 16 <= rowBytes; i += 16) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_add_epi8(r, p));
    }
    for (; i < rowBytes; ++i)
        row[i] = uint8_t(row[i] + previous[i]);
}

template <unsigned Bpp>
void UnfilterPixels(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned filter)
{
    switch (filter) {
    case 1: SubSse2<Bpp>(row, rowBytes); break;
    case 3: AverageSse2<Bpp>(row, previous, rowBytes); break;
    case 4: PaethSse2<Bpp>(row, previous, rowBytes); break;
    default: break;
    }
}
} // namespace

void UnfilterRowSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    if (filter == 2)
        return UpSse2(row, previous, rowBytes);
    // Whole pixels only: the row of a 3- or 4-byte format holds nothing else.
    if ((bpp != 3 && bpp != 4) || rowBytes % bpp != 0 || filter == 0 || filter > 4)
        return UnfilterRowPortable(row, previous, rowBytes, bpp, filter);
    if (bpp == 3)
        UnfilterPixels<3>(row, previous, rowBytes, filter);
    else
        UnfilterPixels<4>(row, previous, rowBytes, filter);
}

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
    const __m128i green = _mm_set1_epi32(0x0000FF00), low = _mm_set1_epi32(0xFF), third = _mm_set1_epi32(0xFF0000);
    const __m128i firstLane = _mm_set_epi32(0, -1, 0, -1), firstHalf = _mm_set_epi32(0, 0, -1, -1);
    size_t k = 0;
    for (; k + 6 <= count; k += 4, src += 16, dst += 12) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i bgr = _mm_or_si128(_mm_and_si128(v, green),
                                         _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 16), low),
                                                      _mm_and_si128(_mm_slli_epi32(v, 16), third)));
        const __m128i pairs = _mm_or_si128(_mm_and_si128(bgr, firstLane), _mm_srli_epi64(_mm_andnot_si128(firstLane, bgr), 8));
        const __m128i packed = _mm_or_si128(_mm_and_si128(pairs, firstHalf), _mm_srli_si128(_mm_andnot_si128(firstHalf, pairs), 2));
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
void UnfilterRowSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    UnfilterRowPortable(row, previous, rowBytes, bpp, filter);
}
void RgbToBgrSse2(uint8_t* dst, const uint8_t* src, size_t count) { RgbToBgrPortable(dst, src, count); }
#endif

void UnfilterRow(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    if (UseSse2())
        UnfilterRowSse2(row, previous, rowBytes, bpp, filter);
    else
        UnfilterRowPortable(row, previous, rowBytes, bpp, filter);
}

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
