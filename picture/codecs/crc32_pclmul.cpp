// CRC-32 by carry-less multiplication. The message is a polynomial over GF(2) (the first
// byte's lowest bit the highest power); only its remainder modulo the CRC polynomial matters.
// Sixteen bytes A followed by D more bits equal A * x^D, which is replaced by the product of
// A's halves with the remainders of x^(D+64) and x^D: a 128-bit value with the same remainder,
// added onto the bytes D bits further on. Four registers fold 64 bytes per step; the last
// register and the bytes after it go through the table code, which gives the same CRC.
#include "picture/codecs/checksum_paths.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#include <cstring>

namespace {
// x^power modulo the CRC polynomial, as a 32-bit remainder (bit d = coefficient of x^d).
uint32_t PowerOfX(unsigned power)
{
    uint32_t r = 1;
    for (unsigned i = 0; i < power; ++i)
        r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
    return r;
}

// The constant that, multiplied with a register half in the bit-reflected order of the
// bytes, stands for x^power: the remainder of x^(power - 1) reversed into a 64-bit lane
// (a reflected product lands one bit lower than the 128-bit order it is used in).
uint64_t ReflectedConstant(unsigned power)
{
    const uint32_t r = PowerOfX(power - 1);
    uint64_t out = 0;
    for (unsigned d = 0; d < 32; ++d)
        if (r >> d & 1)
            out |= uint64_t(1) << (63 - d);
    return out;
}

struct FoldConstants {
    uint64_t by1[2], by4[2]; // [0] for the register's first eight bytes, [1] for the next eight
    FoldConstants()
    {
        by1[0] = ReflectedConstant(128 + 64), by1[1] = ReflectedConstant(128);
        by4[0] = ReflectedConstant(512 + 64), by4[1] = ReflectedConstant(512);
    }
};

const FoldConstants& Constants()
{
    static const FoldConstants constants;
    return constants;
}

__attribute__((target("pclmul"))) inline __m128i Fold(__m128i x, __m128i k, __m128i next)
{
    const __m128i first = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i second = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(first, second), next);
}

__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
} // namespace

bool HasPclmul()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("pclmul") != 0;
    }();
    return has;
}

__attribute__((target("pclmul"))) uint32_t Crc32Pclmul(uint32_t crc, const uint8_t* data, size_t n)
{
    if (n < 64 || !HasPclmul())
        return Crc32Portable(crc, data, n);
    const FoldConstants& c = Constants();
    const __m128i k4 = _mm_set_epi64x(int64_t(c.by4[1]), int64_t(c.by4[0]));
    const __m128i k1 = _mm_set_epi64x(int64_t(c.by1[1]), int64_t(c.by1[0]));

    // The running CRC enters as the complement added onto the first four bytes.
    __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(int(~crc)));
    __m128i x1 = Load(data + 16), x2 = Load(data + 32), x3 = Load(data + 48);
    data += 64;
    n -= 64;
    for (; n >= 64; data += 64, n -= 64) {
        x0 = Fold(x0, k4, Load(data));
        x1 = Fold(x1, k4, Load(data + 16));
        x2 = Fold(x2, k4, Load(data + 32));
        x3 = Fold(x3, k4, Load(data + 48));
    }
    __m128i x = Fold(Fold(Fold(x0, k1, x1), k1, x2), k1, x3);
    for (; n >= 16; data += 16, n -= 16)
        x = Fold(x, k1, Load(data));

    uint8_t folded[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), x);
    // A zero register state (complement 0xFFFFFFFF) over the folded bytes, then the rest.
    return Crc32Portable(Crc32Portable(0xFFFFFFFFu, folded, 16), data, n);
}
#else
bool HasPclmul() { return false; }
uint32_t Crc32Pclmul(uint32_t crc, const uint8_t* data, size_t n) { return Crc32Portable(crc, data, n); }
#endif
