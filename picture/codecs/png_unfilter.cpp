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
#else
void UnfilterRowSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    UnfilterRowPortable(row, previous, rowBytes, bpp, filter);
}
#endif

void UnfilterRow(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter)
{
    if (UseSse2())
        UnfilterRowSse2(row, previous, rowBytes, bpp, filter);
    else
        UnfilterRowPortable(row, previous, rowBytes, bpp, filter);
}
