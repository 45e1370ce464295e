#include "picture/codecs/jpeg_dct.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "picture/codecs/jpeg_tables.h"

namespace {
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;

// The flow graph runs in wrapping 32-bit arithmetic: the same results as signed 32-bit for
// every valid stream, and defined (if meaningless) ones for damaged data.
using Wrap = uint32_t;
constexpr Wrap Fix(int32_t v) { return static_cast<Wrap>(v); }
constexpr Wrap kFix0_298631336 = Fix(2446);
constexpr Wrap kFix0_390180644 = Fix(3196);
constexpr Wrap kFix0_541196100 = Fix(4433);
constexpr Wrap kFix0_765366865 = Fix(6270);
constexpr Wrap kFix0_899976223 = Fix(7373);
constexpr Wrap kFix1_175875602 = Fix(9633);
constexpr Wrap kFix1_501321110 = Fix(12299);
constexpr Wrap kFix1_847759065 = Fix(15137);
constexpr Wrap kFix1_961570560 = Fix(16069);
constexpr Wrap kFix2_053119869 = Fix(16819);
constexpr Wrap kFix2_562915447 = Fix(20995);
constexpr Wrap kFix3_072711026 = Fix(25172);

// Rounding arithmetic shift right of a wrapped value taken as signed.
inline int32_t Descale(Wrap x, int n) { return static_cast<int32_t>(x + (Wrap{1} << (n - 1))) >> n; }

inline uint8_t ClampSample(int32_t v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// One 1-D pass over eight inputs `in(k)`; hands the eight outputs (before descaling) to
// `emit(index, value)`.
template <typename In, typename Emit>
inline void IdctPass(In in, Emit emit)
{
    Wrap z2 = in(2), z3 = in(6);
    Wrap z1 = (z2 + z3) * kFix0_541196100;
    Wrap tmp2 = z1 - z3 * kFix1_847759065;
    Wrap tmp3 = z1 + z2 * kFix0_765366865;
    z2 = in(0);
    z3 = in(4);
    Wrap tmp0 = (z2 + z3) << kConstBits;
    Wrap tmp1 = (z2 - z3) << kConstBits;
    const Wrap tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    const Wrap tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;

    tmp0 = in(7);
    tmp1 = in(5);
    tmp2 = in(3);
    tmp3 = in(1);
    z1 = tmp0 + tmp3;
    z2 = tmp1 + tmp2;
    z3 = tmp0 + tmp2;
    Wrap z4 = tmp1 + tmp3;
    const Wrap z5 = (z3 + z4) * kFix1_175875602;
    tmp0 *= kFix0_298631336;
    tmp1 *= kFix2_053119869;
    tmp2 *= kFix3_072711026;
    tmp3 *= kFix1_501321110;
    z1 *= Wrap{0} - kFix0_899976223;
    z2 *= Wrap{0} - kFix2_562915447;
    z3 = z3 * (Wrap{0} - kFix1_961570560) + z5;
    z4 = z4 * (Wrap{0} - kFix0_390180644) + z5;
    tmp0 += z1 + z3;
    tmp1 += z2 + z4;
    tmp2 += z2 + z3;
    tmp3 += z1 + z4;

    emit(0, tmp10 + tmp3);
    emit(7, tmp10 - tmp3);
    emit(1, tmp11 + tmp2);
    emit(6, tmp11 - tmp2);
    emit(2, tmp12 + tmp1);
    emit(5, tmp12 - tmp1);
    emit(3, tmp13 + tmp0);
    emit(4, tmp13 - tmp0);
}
} // namespace

void JpegInverseDct(const int16_t coefficients[64], const uint16_t quantizer[64], uint8_t* out,
                    size_t stride)
{
    int32_t work[64];
    // Columns. A column without AC terms gives its DC value everywhere (same result as the
    // full graph, much cheaper; most columns of a photo are like this).
    for (int col = 0; col < 8; ++col) {
        const int16_t* c = coefficients + col;
        const uint16_t* q = quantizer + col;
        if ((c[8] | c[16] | c[24] | c[32] | c[40] | c[48] | c[56]) == 0) {
            const int32_t dc = static_cast<int32_t>(static_cast<Wrap>(int32_t{c[0]} * int32_t{q[0]}) << kPass1Bits);
            for (int row = 0; row < 8; ++row)
                work[row * 8 + col] = dc;
            continue;
        }
        IdctPass([&](int k) { return static_cast<Wrap>(int32_t{c[k * 8]} * int32_t{q[k * 8]}); },
                 [&](int k, Wrap v) { work[k * 8 + col] = Descale(v, kConstBits - kPass1Bits); });
    }
    // Rows.
    constexpr int kShift = kConstBits + kPass1Bits + 3;
    for (int row = 0; row < 8; ++row) {
        const int32_t* w = work + row * 8;
        uint8_t* o = out + row * stride;
        if ((w[1] | w[2] | w[3] | w[4] | w[5] | w[6] | w[7]) == 0) {
            const uint8_t v = ClampSample(Descale(static_cast<Wrap>(w[0]), kPass1Bits + 3) + 128);
            for (int k = 0; k < 8; ++k)
                o[k] = v;
            continue;
        }
        IdctPass([&](int k) { return static_cast<Wrap>(w[k]); },
                 [&](int k, Wrap v) { o[k] = ClampSample(Descale(v, kShift) + 128); });
    }
}

namespace {
constexpr float kAcRounding = 0.4f;

// The 1-D AAN forward transform of all eight columns at once (element-wise over the columns,
// so the compiler can keep each statement in vector registers). Outputs are scaled by
// 8 x aan(k) x aan(l) after both passes; the divisors undo that.
inline void FdctColumns(float* d)
{
    for (int c = 0; c < 8; ++c) {
        const float tmp0 = d[0 * 8 + c] + d[7 * 8 + c], tmp7 = d[0 * 8 + c] - d[7 * 8 + c];
        const float tmp1 = d[1 * 8 + c] + d[6 * 8 + c], tmp6 = d[1 * 8 + c] - d[6 * 8 + c];
        const float tmp2 = d[2 * 8 + c] + d[5 * 8 + c], tmp5 = d[2 * 8 + c] - d[5 * 8 + c];
        const float tmp3 = d[3 * 8 + c] + d[4 * 8 + c], tmp4 = d[3 * 8 + c] - d[4 * 8 + c];

        const float tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
        const float tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
        d[0 * 8 + c] = tmp10 + tmp11;
        d[4 * 8 + c] = tmp10 - tmp11;
        const float z1 = (tmp12 + tmp13) * 0.707106781f;
        d[2 * 8 + c] = tmp13 + z1;
        d[6 * 8 + c] = tmp13 - z1;

        const float o10 = tmp4 + tmp5, o11 = tmp5 + tmp6, o12 = tmp6 + tmp7;
        const float z5 = (o10 - o12) * 0.382683433f;
        const float z2 = 0.541196100f * o10 + z5;
        const float z4 = 1.306562965f * o12 + z5;
        const float z3 = o11 * 0.707106781f;
        const float z11 = tmp7 + z3, z13 = tmp7 - z3;
        d[5 * 8 + c] = z13 + z2;
        d[3 * 8 + c] = z13 - z2;
        d[1 * 8 + c] = z11 + z4;
        d[7 * 8 + c] = z11 - z4;
    }
}

inline void Transpose(float* d)
{
    for (int r = 0; r < 8; ++r)
        for (int c = r + 1; c < 8; ++c)
            std::swap(d[r * 8 + c], d[c * 8 + r]);
}

// Position in the doubly transformed (transposed) block of the k-th zigzag coefficient.
struct TransposedZigzag {
    uint8_t index[64];
    TransposedZigzag()
    {
        for (int k = 0; k < 64; ++k) {
            const int natural = kJpegZigzagToNatural[k];
            index[k] = static_cast<uint8_t>((natural & 7) * 8 + (natural >> 3));
        }
    }
};
const TransposedZigzag kTransposedZigzag;
} // namespace

JpegQuantDivisors JpegMakeQuantDivisors(const uint8_t quantizer[64])
{
    static const double kAanScale[8] = {1.0,         1.387039845, 1.306562965, 1.175875602,
                                        1.0,         0.785694958, 0.541196100, 0.275899379};
    JpegQuantDivisors d;
    // Stored transposed, like the transform's output.
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            d.reciprocal[c * 8 + r] =
                static_cast<float>(1.0 / (quantizer[r * 8 + c] * kAanScale[r] * kAanScale[c] * 8.0));
    return d;
}

uint64_t JpegForwardDctQuantize(float samples[64], const JpegQuantDivisors& divisors, int16_t zigzag[64])
{
    FdctColumns(samples);
    Transpose(samples);
    FdctColumns(samples);
    // DC rounds to nearest; AC terms round with a small dead zone, which saves more rate than
    // it costs in error. Limited to what 8-bit baseline data can hold.
    int32_t quantized[64];
    for (int i = 0; i < 64; ++i) {
        const float v = samples[i] * divisors.reciprocal[i];
        const float rounded = v + std::copysign(i == 0 ? 0.5f : kAcRounding, v);
        quantized[i] = static_cast<int32_t>(std::min(std::max(rounded, -2047.0f), 2047.0f));
    }
    uint64_t nonZero = 0;
    for (int k = 0; k < 64; ++k) {
        const int32_t q = quantized[kTransposedZigzag.index[k]];
        zigzag[k] = static_cast<int16_t>(q);
        nonZero |= uint64_t(q != 0) << k;
    }
    return nonZero;
}

namespace {
// basis[n][x][u] = C(u) / 2 x cos((2x + 1) u pi / (2n)), C(0) = 1 / sqrt(2), for n = 1, 2, 4, 8:
// the 8-point inverse transform's scaling on an n-point grid, so a sample is its region's mean.
struct ReducedBasis {
    float table[9][8][8] = {};
    ReducedBasis()
    {
        const double pi = 3.14159265358979323846;
        for (int n : {1, 2, 4, 8})
            for (int x = 0; x < n; ++x)
                for (int u = 0; u < n; ++u)
                    table[n][x][u] =
                        static_cast<float>((u == 0 ? std::sqrt(0.5) : 1.0) / 2 * std::cos((2 * x + 1) * u * pi / (2 * n)));
    }
};
const ReducedBasis kReducedBasis;

inline uint8_t ClampFloatSample(float v)
{
    v += 128.5f;
    return static_cast<uint8_t>(v <= 0.0f ? 0 : v >= 255.0f ? 255 : static_cast<int>(v));
}
} // namespace

void JpegInverseDctReduced(const int16_t coefficients[64], const uint16_t quantizer[64], int width, int height,
                           uint8_t* out, size_t stride)
{
    if (width == 1 && height == 1) {
        // The DC term alone: the block's mean, DC x quantizer / 8, rounded.
        const int32_t dc = int32_t{coefficients[0]} * int32_t{quantizer[0]};
        out[0] = ClampSample(static_cast<int32_t>((static_cast<int64_t>(dc) + 4) >> 3) + 128);
        return;
    }
    const auto& across = kReducedBasis.table[width];
    const auto& down = kReducedBasis.table[height];
    float columns[8][8]; // [y][horizontal frequency]
    for (int u = 0; u < width; ++u) {
        float f[8];
        for (int v = 0; v < height; ++v)
            f[v] = static_cast<float>(int32_t{coefficients[v * 8 + u]} * int32_t{quantizer[v * 8 + u]});
        for (int y = 0; y < height; ++y) {
            float sum = 0.0f;
            for (int v = 0; v < height; ++v)
                sum += down[y][v] * f[v];
            columns[y][u] = sum;
        }
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (int u = 0; u < width; ++u)
                sum += across[x][u] * columns[y][u];
            out[size_t(y) * stride + size_t(x)] = ClampFloatSample(sum);
        }
}
