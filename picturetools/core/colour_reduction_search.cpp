#include "picturetools/core/colour_reduction_search.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#define QUENTA_SEARCH_X86 1
#endif

namespace {

constexpr int kIndexBits = 13; // key = distance << 13 | index; the largest distance is 255000

#if QUENTA_SEARCH_X86
// Per lane: the smaller of two signed 32-bit keys (SSE2 has no pminsd).
inline __m128i MinKeys(__m128i a, __m128i b)
{
    const __m128i less = _mm_cmplt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(less, a), _mm_andnot_si128(less, b));
}

int32_t NearestSse2(const int16_t* pr, const int16_t* pg, const int16_t* pb, unsigned padded, int r, int g, int b)
{
    const __m128i vr = _mm_set1_epi16(int16_t(r)), vg = _mm_set1_epi16(int16_t(g)), vb = _mm_set1_epi16(int16_t(b));
    const __m128i weightsGR = _mm_set1_epi32(587 | (299 << 16)); // (g, r) pairs
    const __m128i weightB = _mm_set1_epi16(114);
    const __m128i zero = _mm_setzero_si128();
    __m128i indexLo = _mm_setr_epi32(0, 1, 2, 3), indexHi = _mm_setr_epi32(4, 5, 6, 7);
    const __m128i step = _mm_set1_epi32(8);
    __m128i best = _mm_set1_epi32(0x7FFFFFFF);
    for (unsigned i = 0; i < padded; i += 8) {
        const __m128i dr = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pr + i)), vr);
        const __m128i dg = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pg + i)), vg);
        const __m128i db = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pb + i)), vb);
        const __m128i ar = _mm_max_epi16(dr, _mm_sub_epi16(zero, dr));
        const __m128i ag = _mm_max_epi16(dg, _mm_sub_epi16(zero, dg));
        const __m128i ab = _mm_mullo_epi16(_mm_max_epi16(db, _mm_sub_epi16(zero, db)), weightB); // <= 29070
        const __m128i dLo = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(ag, ar), weightsGR),
                                          _mm_unpacklo_epi16(ab, zero));
        const __m128i dHi = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(ag, ar), weightsGR),
                                          _mm_unpackhi_epi16(ab, zero));
        best = MinKeys(best, _mm_or_si128(_mm_slli_epi32(dLo, kIndexBits), indexLo));
        best = MinKeys(best, _mm_or_si128(_mm_slli_epi32(dHi, kIndexBits), indexHi));
        indexLo = _mm_add_epi32(indexLo, step);
        indexHi = _mm_add_epi32(indexHi, step);
    }
    best = MinKeys(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(1, 0, 3, 2)));
    best = MinKeys(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(best) & ((1 << kIndexBits) - 1);
}

__attribute__((target("avx2"))) int32_t NearestAvx2(const int16_t* pr, const int16_t* pg, const int16_t* pb,
                                                     unsigned padded, int r, int g, int b)
{
    const __m256i vr = _mm256_set1_epi16(int16_t(r)), vg = _mm256_set1_epi16(int16_t(g)),
                  vb = _mm256_set1_epi16(int16_t(b));
    const __m256i weightsGR = _mm256_set1_epi32(587 | (299 << 16));
    const __m256i weightB = _mm256_set1_epi16(114);
    const __m256i zero = _mm256_setzero_si256();
    // unpacklo/hi work within each 128-bit half: the low half of the result holds entries 0-3
    // and 8-11, the high half entries 4-7 and 12-15.
    __m256i indexLo = _mm256_setr_epi32(0, 1, 2, 3, 8, 9, 10, 11);
    __m256i indexHi = _mm256_setr_epi32(4, 5, 6, 7, 12, 13, 14, 15);
    const __m256i step = _mm256_set1_epi32(16);
    __m256i best = _mm256_set1_epi32(0x7FFFFFFF);
    for (unsigned i = 0; i < padded; i += 16) {
        const __m256i ar = _mm256_abs_epi16(_mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pr + i)), vr));
        const __m256i ag = _mm256_abs_epi16(_mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pg + i)), vg));
        const __m256i ab = _mm256_mullo_epi16(
            _mm256_abs_epi16(_mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pb + i)), vb)), weightB);
        const __m256i dLo = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(ag, ar), weightsGR),
                                             _mm256_unpacklo_epi16(ab, zero));
        const __m256i dHi = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(ag, ar), weightsGR),
                                             _mm256_unpackhi_epi16(ab, zero));
        best = _mm256_min_epi32(best, _mm256_or_si256(_mm256_slli_epi32(dLo, kIndexBits), indexLo));
        best = _mm256_min_epi32(best, _mm256_or_si256(_mm256_slli_epi32(dHi, kIndexBits), indexHi));
        indexLo = _mm256_add_epi32(indexLo, step);
        indexHi = _mm256_add_epi32(indexHi, step);
    }
    __m128i half = _mm_min_epi32(_mm256_castsi256_si128(best), _mm256_extracti128_si256(best, 1));
    half = _mm_min_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(1, 0, 3, 2)));
    half = _mm_min_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(half) & ((1 << kIndexBits) - 1);
}
#endif

} // namespace

int32_t NearestEntryPortable(const uint8_t* palette, unsigned count, int r, int g, int b)
{
    int32_t best = 0;
    long bestDistance = -1;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* e = palette + i * 3;
        const long d = 587L * std::abs(g - e[1]) + 299L * std::abs(r - e[2]) + 114L * std::abs(b - e[0]);
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int32_t>(i);
        }
    }
    return best;
}

CPaletteSearch::CPaletteSearch(const uint8_t* palette, unsigned count)
    : m_palette(palette), m_count(count), m_level(ActiveSimdLevel())
{
    if (count == 0 || count > kMaxVectorEntries) {
        m_level = SimdLevel::Portable;
        return;
    }
    const size_t padded = (size_t(count) + 15) / 16 * 16;
    m_r.resize(padded);
    m_g.resize(padded);
    m_b.resize(padded);
    for (size_t i = 0; i < padded; ++i) {
        const uint8_t* e = palette + (i < count ? i : 0) * 3;
        m_b[i] = e[0];
        m_g[i] = e[1];
        m_r[i] = e[2];
    }
}

int32_t CPaletteSearch::NearestAt(SimdLevel level, int r, int g, int b) const
{
    level = std::min({level, m_level, ActiveSimdLevel()});
#if QUENTA_SEARCH_X86
    const unsigned padded = static_cast<unsigned>(m_r.size());
    if (level >= SimdLevel::Avx2)
        return NearestAvx2(m_r.data(), m_g.data(), m_b.data(), padded, r, g, b);
    if (level >= SimdLevel::Sse2)
        return NearestSse2(m_r.data(), m_g.data(), m_b.data(), padded, r, g, b);
#endif
    return NearestEntryPortable(m_palette, m_count, r, g, b);
}

int32_t CPaletteSearch::Nearest(int r, int g, int b) const { return NearestAt(m_level, r, g, b); }
