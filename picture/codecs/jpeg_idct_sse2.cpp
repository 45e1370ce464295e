// The inverse DCT with SSE2: eight columns (then eight rows) per instruction, 16-bit inputs,
// products and sums in 32 bits through pmaddwd.
#include "picture/codecs/jpeg_idct_simd.h"

#if defined(QUENTA_JPEG_IDCT_X86)
#include <emmintrin.h>

#include "picture/codecs/jpeg_idct_constants.h"

namespace {
using namespace jpeg_idct;

inline __m128i Pair(int a, int b) { return _mm_set1_epi32(int32_t(uint32_t(uint16_t(a)) | uint32_t(b) << 16)); }

// One 1-D pass over the eight rows x[k] (16-bit, each lane a column); the eight outputs in
// 32 bits, lanes 0..3 in lo, 4..7 in hi, before descaling.
struct PassOut {
    __m128i lo[8], hi[8];
};

__attribute__((always_inline)) inline void Pass(const __m128i x[8], PassOut& o)
{
    // Even part: (x0, x4) and (x2, x6) pairs.
    const __m128i p04l = _mm_unpacklo_epi16(x[0], x[4]), p04h = _mm_unpackhi_epi16(x[0], x[4]);
    const __m128i p26l = _mm_unpacklo_epi16(x[2], x[6]), p26h = _mm_unpackhi_epi16(x[2], x[6]);
    const __m128i e0l = _mm_madd_epi16(p04l, Pair(kShift13, kShift13)), e0h = _mm_madd_epi16(p04h, Pair(kShift13, kShift13));
    const __m128i e1l = _mm_madd_epi16(p04l, Pair(kShift13, -kShift13)), e1h = _mm_madd_epi16(p04h, Pair(kShift13, -kShift13));
    const __m128i e3l = _mm_madd_epi16(p26l, Pair(kEven3a, kEven3b)), e3h = _mm_madd_epi16(p26h, Pair(kEven3a, kEven3b));
    const __m128i e2l = _mm_madd_epi16(p26l, Pair(kEven2a, kEven2b)), e2h = _mm_madd_epi16(p26h, Pair(kEven2a, kEven2b));
    const __m128i t10l = _mm_add_epi32(e0l, e3l), t10h = _mm_add_epi32(e0h, e3h);
    const __m128i t13l = _mm_sub_epi32(e0l, e3l), t13h = _mm_sub_epi32(e0h, e3h);
    const __m128i t11l = _mm_add_epi32(e1l, e2l), t11h = _mm_add_epi32(e1h, e2h);
    const __m128i t12l = _mm_sub_epi32(e1l, e2l), t12h = _mm_sub_epi32(e1h, e2h);

    // Odd part: z3 = x7 + x3 and z4 = x5 + x1 (exact in 16 bits for 15-bit inputs).
    const __m128i z3 = _mm_add_epi16(x[7], x[3]), z4 = _mm_add_epi16(x[5], x[1]);
    const __m128i pzl = _mm_unpacklo_epi16(z3, z4), pzh = _mm_unpackhi_epi16(z3, z4);
    const __m128i z3l = _mm_madd_epi16(pzl, Pair(kZ3a, kZ3b)), z3h = _mm_madd_epi16(pzh, Pair(kZ3a, kZ3b));
    const __m128i z4l = _mm_madd_epi16(pzl, Pair(kZ4a, kZ4b)), z4h = _mm_madd_epi16(pzh, Pair(kZ4a, kZ4b));
    const __m128i p71l = _mm_unpacklo_epi16(x[7], x[1]), p71h = _mm_unpackhi_epi16(x[7], x[1]);
    const __m128i p53l = _mm_unpacklo_epi16(x[5], x[3]), p53h = _mm_unpackhi_epi16(x[5], x[3]);
    const __m128i o0l = _mm_add_epi32(_mm_madd_epi16(p71l, Pair(kOdd0a, kOdd0b)), z3l);
    const __m128i o0h = _mm_add_epi32(_mm_madd_epi16(p71h, Pair(kOdd0a, kOdd0b)), z3h);
    const __m128i o3l = _mm_add_epi32(_mm_madd_epi16(p71l, Pair(kOdd3a, kOdd3b)), z4l);
    const __m128i o3h = _mm_add_epi32(_mm_madd_epi16(p71h, Pair(kOdd3a, kOdd3b)), z4h);
    const __m128i o1l = _mm_add_epi32(_mm_madd_epi16(p53l, Pair(kOdd1a, kOdd1b)), z4l);
    const __m128i o1h = _mm_add_epi32(_mm_madd_epi16(p53h, Pair(kOdd1a, kOdd1b)), z4h);
    const __m128i o2l = _mm_add_epi32(_mm_madd_epi16(p53l, Pair(kOdd2a, kOdd2b)), z3l);
    const __m128i o2h = _mm_add_epi32(_mm_madd_epi16(p53h, Pair(kOdd2a, kOdd2b)), z3h);

    o.lo[0] = _mm_add_epi32(t10l, o3l), o.hi[0] = _mm_add_epi32(t10h, o3h);
    o.lo[7] = _mm_sub_epi32(t10l, o3l), o.hi[7] = _mm_sub_epi32(t10h, o3h);
    o.lo[1] = _mm_add_epi32(t11l, o2l), o.hi[1] = _mm_add_epi32(t11h, o2h);
    o.lo[6] = _mm_sub_epi32(t11l, o2l), o.hi[6] = _mm_sub_epi32(t11h, o2h);
    o.lo[2] = _mm_add_epi32(t12l, o1l), o.hi[2] = _mm_add_epi32(t12h, o1h);
    o.lo[5] = _mm_sub_epi32(t12l, o1l), o.hi[5] = _mm_sub_epi32(t12h, o1h);
    o.lo[3] = _mm_add_epi32(t13l, o0l), o.hi[3] = _mm_add_epi32(t13h, o0h);
    o.lo[4] = _mm_sub_epi32(t13l, o0l), o.hi[4] = _mm_sub_epi32(t13h, o0h);
}

// Rounding shift right of each output, packed to 16 bits.
template <int Shift>
inline void Descale(const PassOut& o, __m128i out[8])
{
    const __m128i round = _mm_set1_epi32(1 << (Shift - 1));
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

void FillBlock(uint8_t value, uint8_t* out, size_t stride)
{
    const __m128i v = _mm_set1_epi8(char(value));
    for (int row = 0; row < 8; ++row)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(row) * stride), v);
}
} // namespace

bool JpegInverseDctSse2(const int16_t coefficients[64], const uint16_t quantizer[64], uint8_t* out, size_t stride)
{
    __m128i c[8], q[8];
    for (int k = 0; k < 8; ++k) {
        c[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 8 * k));
        q[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(quantizer + 8 * k));
    }
    __m128i ac = _mm_slli_si128(_mm_srli_si128(c[0], 2), 2); // row 0 without its DC term
    for (int k = 1; k < 8; ++k)
        ac = _mm_or_si128(ac, c[k]);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(ac, _mm_setzero_si128())) == 0xFFFF) {
        FillBlock(DcOnlySample(coefficients[0], quantizer[0]), out, stride);
        return true;
    }

    // Dequantise, checking that every product fits the 15-bit range: the high half of the
    // 32-bit product must be the low half's sign, the low half within +-2^14, and the
    // quantizer below 2^15 (pmulhw reads it as signed).
    __m128i x[8];
    __m128i wide = _mm_setzero_si128(), sign = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k) {
        x[k] = _mm_mullo_epi16(c[k], q[k]);
        const __m128i high = _mm_mulhi_epi16(c[k], q[k]);
        wide = _mm_or_si128(wide, _mm_xor_si128(high, _mm_srai_epi16(x[k], 15)));
        sign = _mm_or_si128(sign, _mm_or_si128(OutOfRange(x[k]), q[k]));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(wide, _mm_setzero_si128())) != 0xFFFF || AnySignBit(sign))
        return false;

    PassOut o;
    Pass(x, o);
    __m128i w[8];
    Descale<kColumnShift>(o, w);
    sign = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k)
        sign = _mm_or_si128(sign, OutOfRange(w[k])); // packs saturation lands out of range too
    if (AnySignBit(sign))
        return false;

    Transpose(w);
    Pass(w, o);
    __m128i s[8];
    Descale<kRowShift>(o, s);
    const __m128i bias = _mm_set1_epi16(128);
    // s[k] is output column k down the rows: pack to bytes and transpose 8 x 8 bytes.
    __m128i t[4];
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_packus_epi16(_mm_add_epi16(s[2 * k], bias), _mm_add_epi16(s[2 * k + 1], bias));
        t[k] = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 8));
    }
    const __m128i u0 = _mm_unpacklo_epi16(t[0], t[1]), u1 = _mm_unpackhi_epi16(t[0], t[1]);
    const __m128i u2 = _mm_unpacklo_epi16(t[2], t[3]), u3 = _mm_unpackhi_epi16(t[2], t[3]);
    const __m128i rows[4] = {_mm_unpacklo_epi32(u0, u2), _mm_unpackhi_epi32(u0, u2), _mm_unpacklo_epi32(u1, u3),
                             _mm_unpackhi_epi32(u1, u3)};
    for (int k = 0; k < 4; ++k) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(2 * k) * stride), rows[k]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + size_t(2 * k + 1) * stride), _mm_srli_si128(rows[k], 8));
    }
    return true;
}
#endif
