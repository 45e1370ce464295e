#include "picture/codecs/jpeg_fdct_simd.h"

#include <cstring>

#include "base/cpu_features.h"
#include "picture/codecs/jpeg_tables.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// The transform's output is transposed: zigzag entry k, natural (row, column), lies at
// column * 8 + row.
const uint8_t kJpegFdctZigzagPosition[64] = {
     0,  8,  1,  2,  9, 16, 24, 17, 10,  3,  4, 11, 18, 25, 32, 40,
    33, 26, 19, 12,  5,  6, 13, 20, 27, 34, 41, 48, 56, 49, 42, 35,
    28, 21, 14,  7, 15, 22, 29, 36, 43, 50, 57, 58, 51, 44, 37, 30,
    23, 31, 38, 45, 52, 59, 60, 53, 46, 39, 47, 54, 61, 62, 55, 63,
};

uint64_t JpegForwardDctQuantizePortable(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                        int16_t coefficients[64])
{
    alignas(16) float block[64];
    for (int r = 0; r < 8; ++r)
        std::memcpy(block + r * 8, rows + size_t(r) * stride, 8 * sizeof(float));
    int16_t zigzag[64];
    const uint64_t nonZero = JpegForwardDctQuantize(block, divisors, zigzag);
    for (int k = 0; k < 64; ++k)
        coefficients[kJpegFdctZigzagPosition[k]] = zigzag[k];
    return nonZero;
}

#if defined(__SSE2__)
namespace {
struct ZigzagTables {
    // Bit j of byte b of a mask in transform order, moved to its zigzag place: the mask
    // converts with eight look-ups.
    uint64_t maskByte[8][256];

    ZigzagTables()
    {
        int zigzagOf[64] = {};
        for (int k = 0; k < 64; ++k)
            zigzagOf[kJpegFdctZigzagPosition[k]] = k;
        for (int b = 0; b < 8; ++b)
            for (int v = 0; v < 256; ++v) {
                uint64_t m = 0;
                for (int j = 0; j < 8; ++j)
                    if (v & (1 << j))
                        m |= uint64_t{1} << zigzagOf[b * 8 + j];
                maskByte[b][v] = m;
            }
    }
};
const ZigzagTables kZigzag;

// The AAN column pass of JpegForwardDctQuantize, statement for statement, on eight row
// vectors (each lane one column). V is __m128 or __m256; GCC and clang do element-wise
// arithmetic on them with the same single-precision rounding as the scalar code.
template <typename V>
[[gnu::always_inline]] inline void FdctPass(V* d)
{
    const V tmp0 = d[0] + d[7], tmp7 = d[0] - d[7];
    const V tmp1 = d[1] + d[6], tmp6 = d[1] - d[6];
    const V tmp2 = d[2] + d[5], tmp5 = d[2] - d[5];
    const V tmp3 = d[3] + d[4], tmp4 = d[3] - d[4];

    const V tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    const V tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    d[0] = tmp10 + tmp11;
    d[4] = tmp10 - tmp11;
    const V z1 = (tmp12 + tmp13) * 0.707106781f;
    d[2] = tmp13 + z1;
    d[6] = tmp13 - z1;

    const V o10 = tmp4 + tmp5, o11 = tmp5 + tmp6, o12 = tmp6 + tmp7;
    const V z5 = (o10 - o12) * 0.382683433f;
    const V z2 = 0.541196100f * o10 + z5;
    const V z4 = 1.306562965f * o12 + z5;
    const V z3 = o11 * 0.707106781f;
    const V z11 = tmp7 + z3, z13 = tmp7 - z3;
    d[5] = z13 + z2;
    d[3] = z13 - z2;
    d[1] = z11 + z4;
    d[7] = z11 - z4;
}

// The zigzag mask of a block from its non-zero mask in transform order (written out: the
// eight look-ups are independent).
inline uint64_t ZigzagMask(uint64_t natural)
{
    const auto& t = kZigzag.maskByte;
    return (t[0][natural & 0xFF] | t[1][(natural >> 8) & 0xFF]) | (t[2][(natural >> 16) & 0xFF] | t[3][(natural >> 24) & 0xFF]) |
           (t[4][(natural >> 32) & 0xFF] | t[5][(natural >> 40) & 0xFF]) | (t[6][(natural >> 48) & 0xFF] | t[7][natural >> 56]);
}

// DC rounds to nearest, AC with the dead zone of JpegForwardDctQuantize.
alignas(32) constexpr float kRounding[8] = {0.5f, 0.4f, 0.4f, 0.4f, 0.4f, 0.4f, 0.4f, 0.4f};
constexpr float kAcRounding = 0.4f;
constexpr float kLimit = 2047.0f;

void Transpose4(__m128& a, __m128& b, __m128& c, __m128& d) { _MM_TRANSPOSE4_PS(a, b, c, d); }

// v + copysign(rounding, v), limited to +-2047 and truncated: the scalar quantiser exactly.
[[gnu::always_inline]] inline __m128i Quantize4(__m128 v, __m128 rounding)
{
    const __m128 sign = _mm_and_ps(v, _mm_set1_ps(-0.0f));
    __m128 r = _mm_add_ps(v, _mm_or_ps(rounding, sign));
    r = _mm_min_ps(_mm_max_ps(r, _mm_set1_ps(-kLimit)), _mm_set1_ps(kLimit));
    return _mm_cvttps_epi32(r);
}
} // namespace

uint64_t JpegForwardDctQuantizeSse2(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                    int16_t coefficients[64])
{
    __m128 lo[8], hi[8]; // columns 0-3 and 4-7 of each row
    for (int r = 0; r < 8; ++r) {
        lo[r] = _mm_loadu_ps(rows + size_t(r) * stride);
        hi[r] = _mm_loadu_ps(rows + size_t(r) * stride + 4);
    }
    FdctPass(lo);
    FdctPass(hi);
    // Transpose as four 4 x 4 quarters; the top-right and bottom-left quarters swap places.
    Transpose4(lo[0], lo[1], lo[2], lo[3]);
    Transpose4(hi[4], hi[5], hi[6], hi[7]);
    Transpose4(hi[0], hi[1], hi[2], hi[3]);
    Transpose4(lo[4], lo[5], lo[6], lo[7]);
    for (int r = 0; r < 4; ++r) {
        const __m128 t = hi[r];
        hi[r] = lo[r + 4];
        lo[r + 4] = t;
    }
    FdctPass(lo);
    FdctPass(hi);

    const __m128 acRounding = _mm_set1_ps(kAcRounding);
    const __m128i zero = _mm_setzero_si128();
    uint64_t zeros = 0; // in transform order
    __m128i previousEqual = zero;
    for (int r = 0; r < 8; ++r) {
        const float* reciprocal = divisors.reciprocal + r * 8;
        const __m128 roundLo = r == 0 ? _mm_loadu_ps(kRounding) : acRounding;
        const __m128i a = Quantize4(_mm_mul_ps(lo[r], _mm_loadu_ps(reciprocal)), roundLo);
        const __m128i b = Quantize4(_mm_mul_ps(hi[r], _mm_loadu_ps(reciprocal + 4)), acRounding);
        const __m128i row = _mm_packs_epi32(a, b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(coefficients + r * 8), row);
        const __m128i equal = _mm_cmpeq_epi16(row, zero);
        if (r % 2 == 1)
            zeros |= uint64_t(uint32_t(_mm_movemask_epi8(_mm_packs_epi16(previousEqual, equal)))) << (8 * (r - 1));
        previousEqual = equal;
    }
    return ZigzagMask(~zeros);
}

namespace {
[[gnu::target("avx2"), gnu::always_inline]] inline void Transpose8(__m256* d)
{
    const __m256 t0 = _mm256_unpacklo_ps(d[0], d[1]), t1 = _mm256_unpackhi_ps(d[0], d[1]);
    const __m256 t2 = _mm256_unpacklo_ps(d[2], d[3]), t3 = _mm256_unpackhi_ps(d[2], d[3]);
    const __m256 t4 = _mm256_unpacklo_ps(d[4], d[5]), t5 = _mm256_unpackhi_ps(d[4], d[5]);
    const __m256 t6 = _mm256_unpacklo_ps(d[6], d[7]), t7 = _mm256_unpackhi_ps(d[6], d[7]);
    const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44), u5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44), u7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    d[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
    d[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
    d[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
    d[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
    d[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
    d[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
    d[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
    d[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Quantize8(__m256 v, __m256 rounding)
{
    const __m256 sign = _mm256_and_ps(v, _mm256_set1_ps(-0.0f));
    __m256 r = _mm256_add_ps(v, _mm256_or_ps(rounding, sign));
    r = _mm256_min_ps(_mm256_max_ps(r, _mm256_set1_ps(-kLimit)), _mm256_set1_ps(kLimit));
    return _mm256_cvttps_epi32(r);
}
} // namespace

[[gnu::target("avx2")]] uint64_t JpegForwardDctQuantizeAvx2(const float* rows, size_t stride,
                                                             const JpegQuantDivisors& divisors, int16_t coefficients[64])
{
    __m256 d[8];
    for (int r = 0; r < 8; ++r)
        d[r] = _mm256_loadu_ps(rows + size_t(r) * stride);
    FdctPass(d);
    Transpose8(d);
    FdctPass(d);

    const __m256 acRounding = _mm256_set1_ps(kAcRounding);
    __m256i rowPairs[4];
    for (int r = 0; r < 8; r += 2) {
        const __m256 round0 = r == 0 ? _mm256_loadu_ps(kRounding) : acRounding;
        const __m256i a = Quantize8(_mm256_mul_ps(d[r], _mm256_loadu_ps(divisors.reciprocal + r * 8)), round0);
        const __m256i b =
            Quantize8(_mm256_mul_ps(d[r + 1], _mm256_loadu_ps(divisors.reciprocal + r * 8 + 8)), acRounding);
        // packs works within 128-bit halves: put row r's two halves back together.
        rowPairs[r / 2] = _mm256_permute4x64_epi64(_mm256_packs_epi32(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(coefficients + r * 8), rowPairs[r / 2]);
    }
    const __m256i zero = _mm256_setzero_si256();
    uint64_t zeros = 0; // in transform order
    for (int half = 0; half < 2; ++half) {
        const __m256i equal0 = _mm256_cmpeq_epi16(rowPairs[half * 2], zero);
        const __m256i equal1 = _mm256_cmpeq_epi16(rowPairs[half * 2 + 1], zero);
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packs_epi16(equal0, equal1), 0xD8);
        zeros |= uint64_t(uint32_t(_mm256_movemask_epi8(bytes))) << (32 * half);
    }
    return ZigzagMask(~zeros);
}
#endif

JpegFdctQuantizeFunction JpegSelectForwardDctQuantize()
{
#if defined(__SSE2__)
    if (UseAvx2())
        return JpegForwardDctQuantizeAvx2;
    if (UseSse2())
        return JpegForwardDctQuantizeSse2;
#endif
    return JpegForwardDctQuantizePortable;
}
