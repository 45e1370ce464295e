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

QUENTA_AVX2 void PassLanes(__m256i p04, __m256i p26, __m256i pz, __m256i p71, __m256i p53, __m256i out[8])
{
    const __m256i e0 = _mm256_madd_epi16(p04, Pair(kShift13, kShift13));
    const __m256i e1 = _mm256_madd_epi16(p04, Pair(kShift13, -kShift13));
    const __m256i e3 = _mm256_madd_epi16(p26, Pair(kEven3a, kEven3b));
    const __m256i e2 = _mm256_madd_epi16(p26, Pair(kEven2a, kEven2b));
    const __m256i t10 = _mm256_add_epi32(e0, e3), t13 = _mm256_sub_epi32(e0, e3);
    const __m256i t11 = _mm256_add_epi32(e1, e2), t12 = _mm256_sub_epi32(e1, e2);
    const __m256i z3 = _mm256_madd_epi16(pz, Pair(kZ3a, kZ3b)), z4 = _mm256_madd_epi16(pz, Pair(kZ4a, kZ4b));
    const __m256i o0 = _mm256_add_epi32(_mm256_madd_epi16(p71, Pair(kOdd0a, kOdd0b)), z3);
    const __m256i o3 = _mm256_add_epi32(_mm256_madd_epi16(p71, Pair(kOdd3a, kOdd3b)), z4);
    const __m256i o1 = _mm256_add_epi32(_mm256_madd_epi16(p53, Pair(kOdd1a, kOdd1b)), z4);
    const __m256i o2 = _mm256_add_epi32(_mm256_madd_epi16(p53, Pair(kOdd2a, kOdd2b)), z3);
    out[0] = _mm256_add_epi32(t10, o3), out[7] = _mm256_sub_epi32(t10, o3);
    out[1] = _mm256_add_epi32(t11, o2), out[6] = _mm256_sub_epi32(t11, o2);
    out[2] = _mm256_add_epi32(t12, o1), out[5] = _mm256_sub_epi32(t12, o1);
    out[3] = _mm256_add_epi32(t13, o0), out[4] = _mm256_sub_epi32(t13, o0);
}

QUENTA_AVX2 void HalfPassLanes(__m256i p02, __m256i p31, __m256i out[8])
{
    const __m256i t10 = _mm256_madd_epi16(p02, Pair(kShift13, kEven3a));
    const __m256i t13 = _mm256_madd_epi16(p02, Pair(kShift13, -kEven3a));
    const __m256i t11 = _mm256_madd_epi16(p02, Pair(kShift13, kEven2a));
    const __m256i t12 = _mm256_madd_epi16(p02, Pair(kShift13, -kEven2a));
    const __m256i o0 = _mm256_madd_epi16(p31, Pair(kZ3a, kOdd0b + kZ3b));
    const __m256i o3 = _mm256_madd_epi16(p31, Pair(kZ4a, kOdd3b + kZ4b));
    const __m256i o1 = _mm256_madd_epi16(p31, Pair(kOdd1b + kZ4a, kZ4b));
    const __m256i o2 = _mm256_madd_epi16(p31, Pair(kOdd2b + kZ3a, kZ3b));
    out[0] = _mm256_add_epi32(t10, o3), out[7] = _mm256_sub_epi32(t10, o3);
    out[1] = _mm256_add_epi32(t11, o2), out[6] = _mm256_sub_epi32(t11, o2);
    out[2] = _mm256_add_epi32(t12, o1), out[5] = _mm256_sub_epi32(t12, o1);
    out[3] = _mm256_add_epi32(t13, o0), out[4] = _mm256_sub_epi32(t13, o0);
}

// As the SSE2 form's Pass: lanes 0..3 of each block alone when `leftOnly`, the shorter graph
// when `halfGraph`.
QUENTA_AVX2 void Pass(const __m256i x[8], bool leftOnly, bool halfGraph, PassOut& o)
{
    if (halfGraph) {
        HalfPassLanes(_mm256_unpacklo_epi16(x[0], x[2]), _mm256_unpacklo_epi16(x[3], x[1]), o.lo);
        if (!leftOnly)
            HalfPassLanes(_mm256_unpackhi_epi16(x[0], x[2]), _mm256_unpackhi_epi16(x[3], x[1]), o.hi);
        return;
    }
    const __m256i z3 = _mm256_add_epi16(x[7], x[3]), z4 = _mm256_add_epi16(x[5], x[1]);
    PassLanes(_mm256_unpacklo_epi16(x[0], x[4]), _mm256_unpacklo_epi16(x[2], x[6]), _mm256_unpacklo_epi16(z3, z4),
              _mm256_unpacklo_epi16(x[7], x[1]), _mm256_unpacklo_epi16(x[5], x[3]), o.lo);
    if (!leftOnly)
        PassLanes(_mm256_unpackhi_epi16(x[0], x[4]), _mm256_unpackhi_epi16(x[2], x[6]), _mm256_unpackhi_epi16(z3, z4),
                  _mm256_unpackhi_epi16(x[7], x[1]), _mm256_unpackhi_epi16(x[5], x[3]), o.hi);
}

QUENTA_AVX2 void TransposeLeft(__m256i r[8])
{
    const __m256i a0 = _mm256_unpacklo_epi16(r[0], r[1]), a2 = _mm256_unpacklo_epi16(r[2], r[3]);
    const __m256i a4 = _mm256_unpacklo_epi16(r[4], r[5]), a6 = _mm256_unpacklo_epi16(r[6], r[7]);
    const __m256i b0 = _mm256_unpacklo_epi32(a0, a2), b1 = _mm256_unpackhi_epi32(a0, a2);
    const __m256i b4 = _mm256_unpacklo_epi32(a4, a6), b5 = _mm256_unpackhi_epi32(a4, a6);
    r[0] = _mm256_unpacklo_epi64(b0, b4), r[1] = _mm256_unpackhi_epi64(b0, b4);
    r[2] = _mm256_unpacklo_epi64(b1, b5), r[3] = _mm256_unpackhi_epi64(b1, b5);
    r[4] = r[5] = r[6] = r[7] = _mm256_setzero_si256();
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

    // Shapes common to both blocks, as in the SSE2 form.
    const __m256i upper = _mm256_or_si256(_mm256_or_si256(c[0], c[1]), _mm256_or_si256(c[2], c[3]));
    const __m256i lower = _mm256_or_si256(_mm256_or_si256(c[4], c[5]), _mm256_or_si256(c[6], c[7]));
    const bool top = AllZero(lower);
    const bool left = AllZero(_mm256_srli_si256(_mm256_or_si256(upper, lower), 8));

    // Dequantise with the range tests of the SSE2 form: the quick sufficient one (AC terms
    // within -128..127, quantizers below 128, DC products apart), else the exact one.
    __m256i x[8];
    const __m256i termBias = _mm256_set1_epi16(128);
    const __m256i noDc = _mm256_set_epi16(-1, -1, -1, -1, -1, -1, -1, 0, -1, -1, -1, -1, -1, -1, -1, 0);
    __m256i terms = _mm256_add_epi16(_mm256_and_si256(c[0], noDc), termBias), steps = q[0];
    #pragma GCC unroll 8
    for (int k = 1; k < 8; ++k) {
        terms = _mm256_or_si256(terms, _mm256_add_epi16(c[k], termBias));
        steps = _mm256_or_si256(steps, q[k]);
    }
    const __m256i high = _mm256_or_si256(_mm256_and_si256(terms, _mm256_set1_epi16(int16_t(0xFF00))),
                                         _mm256_and_si256(steps, _mm256_set1_epi16(int16_t(0xFF80))));
    const int32_t firstDc = int32_t{first[0]} * int32_t{quantizer[0]};
    const int32_t secondDc = int32_t{second[0]} * int32_t{quantizer[0]};
    __m256i sign = _mm256_setzero_si256();
    if (firstDc >= -16384 && firstDc < 16384 && secondDc >= -16384 && secondDc < 16384 && AllZero(high)) {
        #pragma GCC unroll 8
        for (int k = 0; k < 8; ++k)
            x[k] = _mm256_mullo_epi16(c[k], q[k]);
    } else {
        __m256i wide = _mm256_setzero_si256();
        #pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            x[k] = _mm256_mullo_epi16(c[k], q[k]);
            const __m256i product = _mm256_mulhi_epi16(c[k], q[k]);
            wide = _mm256_or_si256(wide, _mm256_xor_si256(product, _mm256_srai_epi16(x[k], 15)));
            sign = _mm256_or_si256(sign, _mm256_or_si256(OutOfRange(x[k]), q[k]));
        }
        if (!AllZero(wide) || AnySignBit(sign))
            return false;
    }

    PassOut o;
    Pass(x, left, top, o);
    const __m256i round = _mm256_set1_epi32(1 << (kColumnShift - 1));
    __m256i w[8];
    sign = _mm256_setzero_si256();
    #pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        const __m256i lo = _mm256_srai_epi32(_mm256_add_epi32(o.lo[k], round), kColumnShift);
        const __m256i hi = left ? lo : _mm256_srai_epi32(_mm256_add_epi32(o.hi[k], round), kColumnShift);
        w[k] = _mm256_packs_epi32(lo, hi);
        sign = _mm256_or_si256(sign, OutOfRange(w[k]));
    }
    if (AnySignBit(sign))
        return false;

    if (left)
        TransposeLeft(w);
    else
        Transpose(w);
    Pass(w, false, left, o);
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
