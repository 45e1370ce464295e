// The inverse DCT with AVX2: the SSE2 flow of jpeg_idct_sse2.cpp on two blocks at once, one
// in each 128-bit lane (every shuffle used stays within its lane).
#include "picture/codecs/jpeg_idct_simd.h"

#if defined(QUENTA_JPEG_IDCT_X86)
#include <immintrin.h>

#include <cstring>

#include "picture/codecs/jpeg_idct_constants.h"

#define QUENTA_AVX2 __attribute__((target("avx2"), always_inline)) inline

namespace {
using namespace jpeg_idct;

QUENTA_AVX2 __m256i Pair(int a, int b)
{
    return _mm256_set1_epi32(int32_t(uint32_t(uint16_t(a)) | uint32_t(b) << 16));
}

struct PassOut {
    __m256i lo[8], hi[8];
};

QUENTA_AVX2 void Pass(const __m256i x[8], PassOut& o)
{
    const __m256i p04l = _mm256_unpacklo_epi16(x[0], x[4]), p04h = _mm256_unpackhi_epi16(x[0], x[4]);
    const __m256i p26l = _mm256_unpacklo_epi16(x[2], x[6]), p26h = _mm256_unpackhi_epi16(x[2], x[6]);
    const __m256i e0l = _mm256_madd_epi16(p04l, Pair(kShift13, kShift13));
    const __m256i e0h = _mm256_madd_epi16(p04h, Pair(kShift13, kShift13));
    const __m256i e1l = _mm256_madd_epi16(p04l, Pair(kShift13, -kShift13));
    const __m256i e1h = _mm256_madd_epi16(p04h, Pair(kShift13, -kShift13));
    const __m256i e3l = _mm256_madd_epi16(p26l, Pair(kEven3a, kEven3b));
    const __m256i e3h = _mm256_madd_epi16(p26h, Pair(kEven3a, kEven3b));
    const __m256i e2l = _mm256_madd_epi16(p26l, Pair(kEven2a, kEven2b));
    const __m256i e2h = _mm256_madd_epi16(p26h, Pair(kEven2a, kEven2b));
    const __m256i t10l = _mm256_add_epi32(e0l, e3l), t10h = _mm256_add_epi32(e0h, e3h);
    const __m256i t13l = _mm256_sub_epi32(e0l, e3l), t13h = _mm256_sub_epi32(e0h, e3h);
    const __m256i t11l = _mm256_add_epi32(e1l, e2l), t11h = _mm256_add_epi32(e1h, e2h);
    const __m256i t12l = _mm256_sub_epi32(e1l, e2l), t12h = _mm256_sub_epi32(e1h, e2h);

    const __m256i z3 = _mm256_add_epi16(x[7], x[3]), z4 = _mm256_add_epi16(x[5], x[1]);
    const __m256i pzl = _mm256_unpacklo_epi16(z3, z4), pzh = _mm256_unpackhi_epi16(z3, z4);
    const __m256i z3l = _mm256_madd_epi16(pzl, Pair(kZ3a, kZ3b)), z3h = _mm256_madd_epi16(pzh, Pair(kZ3a, kZ3b));
    const __m256i z4l = _mm256_madd_epi16(pzl, Pair(kZ4a, kZ4b)), z4h = _mm256_madd_epi16(pzh, Pair(kZ4a, kZ4b));
    const __m256i p71l = _mm256_unpacklo_epi16(x[7], x[1]), p71h = _mm256_unpackhi_epi16(x[7], x[1]);
    const __m256i p53l = _mm256_unpacklo_epi16(x[5], x[3]), p53h = _mm256_unpackhi_epi16(x[5], x[3]);
    const __m256i o0l = _mm256_add_epi32(_mm256_madd_epi16(p71l, Pair(kOdd0a, kOdd0b)), z3l);
    const __m256i o0h = _mm256_add_epi32(_mm256_madd_epi16(p71h, Pair(kOdd0a, kOdd0b)), z3h);
    const __m256i o3l = _mm256_add_epi32(_mm256_madd_epi16(p71l, Pair(kOdd3a, kOdd3b)), z4l);
    const __m256i o3h = _mm256_add_epi32(_mm256_madd_epi16(p71h, Pair(kOdd3a, kOdd3b)), z4h);
    const __m256i o1l = _mm256_add_epi32(_mm256_madd_epi16(p53l, Pair(kOdd1a, kOdd1b)), z4l);
    const __m256i o1h = _mm256_add_epi32(_mm256_madd_epi16(p53h, Pair(kOdd1a, kOdd1b)), z4h);
    const __m256i o2l = _mm256_add_epi32(_mm256_madd_epi16(p53l, Pair(kOdd2a, kOdd2b)), z3l);
    const __m256i o2h = _mm256_add_epi32(_mm256_madd_epi16(p53h, Pair(kOdd2a, kOdd2b)), z3h);

    o.lo[0] = _mm256_add_epi32(t10l, o3l), o.hi[0] = _mm256_add_epi32(t10h, o3h);
    o.lo[7] = _mm256_sub_epi32(t10l, o3l), o.hi[7] = _mm256_sub_epi32(t10h, o3h);
    o.lo[1] = _mm256_add_epi32(t11l, o2l), o.hi[1] = _mm256_add_epi32(t11h, o2h);
    o.lo[6] = _mm256_sub_epi32(t11l, o2l), o.hi[6] = _mm256_sub_epi32(t11h, o2h);
    o.lo[2] = _mm256_add_epi32(t12l, o1l), o.hi[2] = _mm256_add_epi32(t12h, o1h);
    o.lo[5] = _mm256_sub_epi32(t12l, o1l), o.hi[5] = _mm256_sub_epi32(t12h, o1h);
    o.lo[3] = _mm256_add_epi32(t13l, o0l), o.hi[3] = _mm256_add_epi32(t13h, o0h);
    o.lo[4] = _mm256_sub_epi32(t13l, o0l), o.hi[4] = _mm256_sub_epi32(t13h, o0h);
}

template <int Shift>
QUENTA_AVX2 void Descale(const PassOut& o, __m256i out[8])
{
    const __m256i round = _mm256_set1_epi32(1 << (Shift - 1));
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k)
        out[k] = _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(o.lo[k], round), Shift),
                                    _mm256_srai_epi32(_mm256_add_epi32(o.hi[k], round), Shift));
}

QUENTA_AVX2 void Transpose(__m256i r[8])
{
    const __m256i a0 = _mm256_unpacklo_epi16(r[0], r[1]), a1 = _mm256_unpackhi_epi16(r[0], r[1]);
    const __m256i a2 = _mm256_unpacklo_epi16(r[2], r[3]), a3 = _mm256_unpackhi_epi16(r[2], r[3]);
    const __m256i a4 = _mm256_unpacklo_epi16(r[4], r[5]), a5 = _mm256_unpackhi_epi16(r[4], r[5]);
    const __m256i a6 = _mm256_unpacklo_epi16(r[6], r[7]), a7 = _mm256_unpackhi_epi16(r[6], r[7]);
    const __m256i b0 = _mm256_unpacklo_epi32(a0, a2), b1 = _mm256_unpackhi_epi32(a0, a2);
    const __m256i b2 = _mm256_unpacklo_epi32(a1, a3), b3 = _mm256_unpackhi_epi32(a1, a3);
    const __m256i b4 = _mm256_unpacklo_epi32(a4, a6), b5 = _mm256_unpackhi_epi32(a4, a6);
    const __m256i b6 = _mm256_unpacklo_epi32(a5, a7), b7 = _mm256_unpackhi_epi32(a5, a7);
    r[0] = _mm256_unpacklo_epi64(b0, b4), r[1] = _mm256_unpackhi_epi64(b0, b4);
    r[2] = _mm256_unpacklo_epi64(b1, b5), r[3] = _mm256_unpackhi_epi64(b1, b5);
    r[4] = _mm256_unpacklo_epi64(b2, b6), r[5] = _mm256_unpackhi_epi64(b2, b6);
    r[6] = _mm256_unpacklo_epi64(b3, b7), r[7] = _mm256_unpackhi_epi64(b3, b7);
}

QUENTA_AVX2 __m256i OutOfRange(__m256i v) { return _mm256_add_epi16(v, _mm256_set1_epi16(0x4000)); }

QUENTA_AVX2 bool AnySignBit(__m256i v) { return (uint32_t(_mm256_movemask_epi8(v)) & 0xAAAAAAAAu) != 0; }

QUENTA_AVX2 bool AllZero(__m256i v) { return _mm256_testz_si256(v, v) != 0; }

void FillBlock(uint8_t value, uint8_t* out, size_t stride)
{
    #pragma GCC unroll 8
    for (int row = 0; row < 8; ++row)
        std::memset(out + size_t(row) * stride, value, 8);
}

QUENTA_AVX2 __m256i LoadPair(const void* low, const void* high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(static_cast<const __m128i*>(high)), 1);
}
} // namespace

__attribute__((target("avx2"))) bool JpegInverseDctPairAvx2(const int16_t first[64], const int16_t second[64],
                                                           const uint16_t quantizer[64], uint8_t* firstOut,
                                                           uint8_t* secondOut, size_t stride)
{
    __m256i c[8], q[8];
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        c[k] = LoadPair(first + 8 * k, second + 8 * k);
        q[k] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(quantizer + 8 * k)));
    }
    // Blocks without AC terms take the shortcut (the other one alone through SSE2).
    __m256i ac = _mm256_and_si256(c[0], _mm256_set_epi16(-1, -1, -1, -1, -1, -1, -1, 0, -1, -1, -1, -1, -1, -1, -1, 0));
    #pragma GCC unroll 8
    for (int k = 1; k < 8; ++k)
        ac = _mm256_or_si256(ac, c[k]);
    const bool firstDcOnly = _mm_testz_si128(_mm256_castsi256_si128(ac), _mm256_castsi256_si128(ac)) != 0;
    const bool secondDcOnly = _mm_testz_si128(_mm256_extracti128_si256(ac, 1), _mm256_extracti128_si256(ac, 1)) != 0;
    if (firstDcOnly || secondDcOnly) {
        if (!firstDcOnly && !JpegInverseDctSse2(first, quantizer, firstOut, stride))
            return false;
        if (!secondDcOnly && !JpegInverseDctSse2(second, quantizer, secondOut, stride))
            return false;
        if (firstDcOnly)
            FillBlock(DcOnlySample(first[0], quantizer[0]), firstOut, stride);
        if (secondDcOnly)
            FillBlock(DcOnlySample(second[0], quantizer[0]), secondOut, stride);
        return true;
    }

    // Dequantise with the range checks of the SSE2 form.
    __m256i x[8];
    __m256i wide = _mm256_setzero_si256(), sign = _mm256_setzero_si256();
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        x[k] = _mm256_mullo_epi16(c[k], q[k]);
        const __m256i high = _mm256_mulhi_epi16(c[k], q[k]);
        wide = _mm256_or_si256(wide, _mm256_xor_si256(high, _mm256_srai_epi16(x[k], 15)));
        sign = _mm256_or_si256(sign, _mm256_or_si256(OutOfRange(x[k]), q[k]));
    }
    if (!AllZero(wide) || AnySignBit(sign))
        return false;

    PassOut o;
    Pass(x, o);
    __m256i w[8];
    Descale<kColumnShift>(o, w);
    sign = _mm256_setzero_si256();
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k)
        sign = _mm256_or_si256(sign, OutOfRange(w[k]));
    if (AnySignBit(sign))
        return false;

    Transpose(w);
    Pass(w, o);
    __m256i s[8];
    Descale<kRowShift>(o, s);
    const __m256i bias = _mm256_set1_epi16(128);
    __m256i t[4];
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        const __m256i bytes =
            _mm256_packus_epi16(_mm256_add_epi16(s[2 * k], bias), _mm256_add_epi16(s[2 * k + 1], bias));
        t[k] = _mm256_unpacklo_epi8(bytes, _mm256_srli_si256(bytes, 8));
    }
    const __m256i u0 = _mm256_unpacklo_epi16(t[0], t[1]), u1 = _mm256_unpackhi_epi16(t[0], t[1]);
    const __m256i u2 = _mm256_unpacklo_epi16(t[2], t[3]), u3 = _mm256_unpackhi_epi16(t[2], t[3]);
    const __m256i rows[4] = {_mm256_unpacklo_epi32(u0, u2), _mm256_unpackhi_epi32(u0, u2),
                             _mm256_unpacklo_epi32(u1, u3), _mm256_unpackhi_epi32(u1, u3)};
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        const __m128i a = _mm256_castsi256_si128(rows[k]), b = _mm256_extracti128_si256(rows[k], 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(firstOut + size_t(2 * k) * stride), a);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(firstOut + size_t(2 * k + 1) * stride), _mm_srli_si128(a, 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(secondOut + size_t(2 * k) * stride), b);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(secondOut + size_t(2 * k + 1) * stride), _mm_srli_si128(b, 8));
    }
    return true;
}
#endif
