// The inverse DCT with SSE2: eight columns (then eight rows) per instruction, 16-bit inputs,
// products and sums in 32 bits through pmaddwd.
#include "picture/codecs/jpeg_idct_simd.h"

#if defined(QUENTA_JPEG_IDCT_X86)
#include <emmintrin.h>

#include "picture/codecs/jpeg_idct_constants.h"

namespace {
using namespace jpeg_idct;

inline __m128i Pair(int a, int b) { return _mm_set1_epi32(int32_t(uint32_t(uint16_t(a)) | uint32_t(b) << 16)); }

// The 1-D pass's outputs before descaling, 32 bits: lanes 0..3 of the eight 16-bit lanes in
// lo, 4..7 in hi.
struct PassOut {
    __m128i lo[8], hi[8];
};

// One 1-D pass for one half of the lanes, given the interleaved input pairs (x0, x4),
// (x2, x6), (x7 + x3, x5 + x1) (exact in 16 bits for 15-bit inputs), (x7, x1), (x5, x3).
__attribute__((always_inline)) inline void PassLanes(__m128i p04, __m128i p26, __m128i pz, __m128i p71, __m128i p53,
                                                     __m128i out[8])
{
    const __m128i e0 = _mm_madd_epi16(p04, Pair(kShift13, kShift13));
    const __m128i e1 = _mm_madd_epi16(p04, Pair(kShift13, -kShift13));
    const __m128i e3 = _mm_madd_epi16(p26, Pair(kEven3a, kEven3b));
    const __m128i e2 = _mm_madd_epi16(p26, Pair(kEven2a, kEven2b));
    const __m128i t10 = _mm_add_epi32(e0, e3), t13 = _mm_sub_epi32(e0, e3);
    const __m128i t11 = _mm_add_epi32(e1, e2), t12 = _mm_sub_epi32(e1, e2);
    const __m128i z3 = _mm_madd_epi16(pz, Pair(kZ3a, kZ3b)), z4 = _mm_madd_epi16(pz, Pair(kZ4a, kZ4b));
    const __m128i o0 = _mm_add_epi32(_mm_madd_epi16(p71, Pair(kOdd0a, kOdd0b)), z3);
    const __m128i o3 = _mm_add_epi32(_mm_madd_epi16(p71, Pair(kOdd3a, kOdd3b)), z4);
    const __m128i o1 = _mm_add_epi32(_mm_madd_epi16(p53, Pair(kOdd1a, kOdd1b)), z4);
    const __m128i o2 = _mm_add_epi32(_mm_madd_epi16(p53, Pair(kOdd2a, kOdd2b)), z3);
    out[0] = _mm_add_epi32(t10, o3), out[7] = _mm_sub_epi32(t10, o3);
    out[1] = _mm_add_epi32(t11, o2), out[6] = _mm_sub_epi32(t11, o2);
    out[2] = _mm_add_epi32(t12, o1), out[5] = _mm_sub_epi32(t12, o1);
    out[3] = _mm_add_epi32(t13, o0), out[4] = _mm_sub_epi32(t13, o0);
}

// The pass when inputs 4..7 are zero, for one half of the lanes: from the pairs (x0, x2) and
// (x3, x1) alone, the odd part's shared terms folded into each output's pair of constants.
__attribute__((always_inline)) inline void HalfPassLanes(__m128i p02, __m128i p31, __m128i out[8])
{
    const __m128i t10 = _mm_madd_epi16(p02, Pair(kShift13, kEven3a));
    const __m128i t13 = _mm_madd_epi16(p02, Pair(kShift13, -kEven3a));
    const __m128i t11 = _mm_madd_epi16(p02, Pair(kShift13, kEven2a));
    const __m128i t12 = _mm_madd_epi16(p02, Pair(kShift13, -kEven2a));
    const __m128i o0 = _mm_madd_epi16(p31, Pair(kZ3a, kOdd0b + kZ3b));
    const __m128i o3 = _mm_madd_epi16(p31, Pair(kZ4a, kOdd3b + kZ4b));
    const __m128i o1 = _mm_madd_epi16(p31, Pair(kOdd1b + kZ4a, kZ4b));
    const __m128i o2 = _mm_madd_epi16(p31, Pair(kOdd2b + kZ3a, kZ3b));
    out[0] = _mm_add_epi32(t10, o3), out[7] = _mm_sub_epi32(t10, o3);
    out[1] = _mm_add_epi32(t11, o2), out[6] = _mm_sub_epi32(t11, o2);
    out[2] = _mm_add_epi32(t12, o1), out[5] = _mm_sub_epi32(t12, o1);
    out[3] = _mm_add_epi32(t13, o0), out[4] = _mm_sub_epi32(t13, o0);
}

// Rounding shift right of each output, packed to 16 bits.
template <int Shift>
inline void Descale(const PassOut& o, __m128i out[8])
{
    const __m128i round = _mm_set1_epi32(1 << (Shift - 1));
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k)
        out[k] = _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(o.lo[k], round), Shift),
                                 _mm_srai_epi32(_mm_add_epi32(o.hi[k], round), Shift));
}

__attribute__((always_inline)) inline void Transpose(__m128i r[8])
{
    const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
    const __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
    const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
    const __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    r[0] = _mm_unpacklo_epi64(b0, b4), r[1] = _mm_unpackhi_epi64(b0, b4);
    r[2] = _mm_unpacklo_epi64(b1, b5), r[3] = _mm_unpackhi_epi64(b1, b5);
    r[4] = _mm_unpacklo_epi64(b2, b6), r[5] = _mm_unpackhi_epi64(b2, b6);
    r[6] = _mm_unpacklo_epi64(b3, b7), r[7] = _mm_unpackhi_epi64(b3, b7);
}

// Sign bit set in a lane whose value lies outside -2^14 .. 2^14 - 1.
inline __m128i OutOfRange(__m128i v) { return _mm_add_epi16(v, _mm_set1_epi16(0x4000)); }

inline bool AnySignBit(__m128i v) { return (_mm_movemask_epi8(v) & 0xAAAA) != 0; }

inline bool AllZero(__m128i v) { return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF; }

// The second pass's outputs (column k of the samples in o.lo[k], o.hi[k]) descaled, level-
// shifted, clamped and written as eight rows.
__attribute__((always_inline)) inline void StoreSamples(const PassOut& o, uint8_t* out, size_t stride)
{
    __m128i s[8];
    Descale<kRowShift>(o, s);
    const __m128i bias = _mm_set1_epi16(128);
    // s[k] is output column k down the rows: pack to bytes and transpose 8 x 8 bytes.
    __m128i t[4];
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_packus_epi16(_mm_add_epi16(s[2 * k], bias), _mm_add_epi16(s[2 * k + 1], bias));
        t[k] = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 8));
    }
    const __m128i u0 = _mm_unpacklo_epi16(t[0], t[1]), u1 = _mm_unpackhi_epi16(t[0], t[1]);
    const __m128i u2 = _mm_unpacklo_epi16(t[2], t[3]), u3 = _mm_unpackhi_epi16(t[2], t[3]);
    const __m128i rows[4] = {_mm_unpacklo_epi32(u0, u2), _mm_unpackhi_epi32(u0, u2), _mm_unpacklo_epi32(u1, u3),
                             _mm_unpackhi_epi32(u1, u3)};
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(2 * k) * stride), rows[k]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(2 * k + 1) * stride), _mm_srli_si128(rows[k], 8));
    }
}

void FillBlock(uint8_t value, uint8_t* out, size_t stride)
{
    const __m128i v = _mm_set1_epi8(char(value));
    #pragma GCC unroll 8
    for (int row = 0; row < 8; ++row)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(row) * stride), v);
}

// Dequantises rows 0..Count-1 into x, false when a product leaves the 15-bit range.
template <int Count>
__attribute__((always_inline)) inline bool Dequantise(const __m128i c[8], const __m128i q[8], __m128i x[8])
{
    // Quick sufficient test first: AC terms within -128..127 and quantizers below 128 (the
    // tables of quality 50 and finer) keep every product within +-16256; the DC product,
    // often larger, is checked on its own.
    const __m128i bias = _mm_set1_epi16(128);
    __m128i terms = _mm_add_epi16(_mm_slli_si128(_mm_srli_si128(c[0], 2), 2), bias), steps = q[0];
    #pragma GCC unroll 8
    for (int k = 1; k < Count; ++k) {
        terms = _mm_or_si128(terms, _mm_add_epi16(c[k], bias));
        steps = _mm_or_si128(steps, q[k]);
    }
    const int32_t dc = int32_t(int16_t(_mm_cvtsi128_si32(c[0]))) * int32_t(uint16_t(_mm_cvtsi128_si32(q[0])));
    const __m128i high = _mm_or_si128(_mm_and_si128(terms, _mm_set1_epi16(int16_t(0xFF00))),
                                      _mm_and_si128(steps, _mm_set1_epi16(int16_t(0xFF80))));
    if (dc >= -16384 && dc < 16384 && AllZero(high)) {
        #pragma GCC unroll 8
        for (int k = 0; k < Count; ++k)
            x[k] = _mm_mullo_epi16(c[k], q[k]);
        return true;
    }
    // The exact test: the high half of each 32-bit product must be the low half's sign, the
    // low half within +-2^14, and the quantizer below 2^15 (pmulhw reads it as signed).
    __m128i wide = _mm_setzero_si128(), sign = _mm_setzero_si128();
    #pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        x[k] = _mm_mullo_epi16(c[k], q[k]);
        const __m128i product = _mm_mulhi_epi16(c[k], q[k]);
        wide = _mm_or_si128(wide, _mm_xor_si128(product, _mm_srai_epi16(x[k], 15)));
        sign = _mm_or_si128(sign, _mm_or_si128(OutOfRange(x[k]), q[k]));
    }
    return AllZero(wide) && !AnySignBit(sign);
}

// One 1-D pass over x[0..7] (16-bit rows, each lane a column) into o: the lanes 0..3 alone
// when `leftOnly` (lanes 4..7 are zero), the shorter graph when `halfGraph` (x[4..7] zero).
__attribute__((always_inline)) inline void Pass(const __m128i x[8], bool leftOnly, bool halfGraph, PassOut& o)
{
    if (halfGraph) {
        HalfPassLanes(_mm_unpacklo_epi16(x[0], x[2]), _mm_unpacklo_epi16(x[3], x[1]), o.lo);
        if (!leftOnly)
            HalfPassLanes(_mm_unpackhi_epi16(x[0], x[2]), _mm_unpackhi_epi16(x[3], x[1]), o.hi);
        return;
    }
    const __m128i z3 = _mm_add_epi16(x[7], x[3]), z4 = _mm_add_epi16(x[5], x[1]);
    PassLanes(_mm_unpacklo_epi16(x[0], x[4]), _mm_unpacklo_epi16(x[2], x[6]), _mm_unpacklo_epi16(z3, z4),
              _mm_unpacklo_epi16(x[7], x[1]), _mm_unpacklo_epi16(x[5], x[3]), o.lo);
    if (!leftOnly)
        PassLanes(_mm_unpackhi_epi16(x[0], x[4]), _mm_unpackhi_epi16(x[2], x[6]), _mm_unpackhi_epi16(z3, z4),
                  _mm_unpackhi_epi16(x[7], x[1]), _mm_unpackhi_epi16(x[5], x[3]), o.hi);
}

// Columns 0..3 of eight rows (lanes 4..7 ignored) down the rows: r[k] = rows[0..7][k], r[4..7]
// zero.
__attribute__((always_inline)) inline void TransposeLeft(__m128i r[8])
{
    const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a2 = _mm_unpacklo_epi16(r[2], r[3]);
    const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a6 = _mm_unpacklo_epi16(r[6], r[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    r[0] = _mm_unpacklo_epi64(b0, b4), r[1] = _mm_unpackhi_epi64(b0, b4);
    r[2] = _mm_unpacklo_epi64(b1, b5), r[3] = _mm_unpackhi_epi64(b1, b5);
    r[4] = r[5] = r[6] = r[7] = _mm_setzero_si128();
}

} // namespace

bool JpegInverseDctSse2(const int16_t coefficients[64], const uint16_t quantizer[64], uint8_t* out, size_t stride)
{
    __m128i c[8], q[8];
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        c[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 8 * k));
        q[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(quantizer + 8 * k));
    }
    // The block's shape: most blocks of a photo have no terms in rows 4..7 (`top`) or columns
    // 4..7 (`left`), or none but DC; each zero half spares half of a pass.
    const __m128i upper = _mm_or_si128(_mm_or_si128(c[0], c[1]), _mm_or_si128(c[2], c[3]));
    const __m128i lower = _mm_or_si128(_mm_or_si128(c[4], c[5]), _mm_or_si128(c[6], c[7]));
    const __m128i ac = _mm_or_si128(_mm_or_si128(_mm_slli_si128(_mm_srli_si128(c[0], 2), 2), c[1]),
                                    _mm_or_si128(_mm_or_si128(c[2], c[3]), lower));
    if (AllZero(ac)) {
        FillBlock(DcOnlySample(coefficients[0], quantizer[0]), out, stride);
        return true;
    }
    const bool top = AllZero(lower);
    const bool left = AllZero(_mm_srli_si128(_mm_or_si128(upper, lower), 8));

    __m128i x[8];
    if (top) {
        if (!Dequantise<4>(c, q, x))
            return false;
        x[4] = x[5] = x[6] = x[7] = _mm_setzero_si128();
    } else if (!Dequantise<8>(c, q, x)) {
        return false;
    }

    PassOut o;
    Pass(x, left, top, o);
    // Descaled into 16 bits; each must lie in the 15-bit range again for the second pass
    // (a value that saturated in packing lies outside it too).
    const __m128i round = _mm_set1_epi32(1 << (kColumnShift - 1));
    __m128i w[8], sign = _mm_setzero_si128();
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        const __m128i lo = _mm_srai_epi32(_mm_add_epi32(o.lo[k], round), kColumnShift);
        const __m128i hi = left ? lo : _mm_srai_epi32(_mm_add_epi32(o.hi[k], round), kColumnShift);
        w[k] = _mm_packs_epi32(lo, hi);
        sign = _mm_or_si128(sign, OutOfRange(w[k]));
    }
    if (AnySignBit(sign))
        return false;

    if (left)
        TransposeLeft(w);
    else
        Transpose(w);
    Pass(w, false, left, o);
    StoreSamples(o, out, stride);
    return true;
}
#endif
