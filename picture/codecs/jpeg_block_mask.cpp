#include "picture/codecs/jpeg_block_mask.h"

#include <array>

#include "base/cpu_features.h"
#include "picture/codecs/jpeg_tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Per byte of a natural-order mask and per value of that byte: the same bits in zigzag order.
struct ZigzagBitTables {
    std::array<std::array<uint64_t, 256>, 8> bits{};
    ZigzagBitTables()
    {
        uint8_t naturalToZigzag[64];
        for (int k = 0; k < 64; ++k)
            naturalToZigzag[kJpegZigzagToNatural[k]] = static_cast<uint8_t>(k);
        for (int byte = 0; byte < 8; ++byte)
            for (int value = 0; value < 256; ++value)
                for (int bit = 0; bit < 8; ++bit)
                    if (value & (1 << bit))
                        bits[size_t(byte)][size_t(value)] |= uint64_t{1} << naturalToZigzag[byte * 8 + bit];
    }
};
const ZigzagBitTables kZigzagBits;

uint64_t NaturalToZigzag(uint64_t natural)
{
    uint64_t zigzag = 0;
    for (int byte = 0; byte < 8; ++byte)
        zigzag |= kZigzagBits.bits[size_t(byte)][(natural >> (8 * byte)) & 0xFF];
    return zigzag;
}
} // namespace

uint64_t JpegNonZeroZigzagMaskPortable(const int16_t block[64])
{
    uint64_t natural = 0;
    for (int i = 0; i < 64; ++i)
        natural |= uint64_t{block[i] != 0} << i;
    return NaturalToZigzag(natural);
}

#if defined(__SSE2__)
uint64_t JpegNonZeroZigzagMaskSse2(const int16_t block[64])
{
    const __m128i zero = _mm_setzero_si128();
    uint64_t natural = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i + 8));
        // 0xFF per zero coefficient, one byte each.
        const __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(low, zero), _mm_cmpeq_epi16(high, zero));
        const unsigned nonZero = ~static_cast<unsigned>(_mm_movemask_epi8(zeros)) & 0xFFFFu;
        natural |= uint64_t{nonZero} << (16 * i);
    }
    return NaturalToZigzag(natural);
}
#endif

uint64_t JpegNonZeroZigzagMask(const int16_t block[64])
{
#if defined(__SSE2__)
    if (UseSse2())
        return JpegNonZeroZigzagMaskSse2(block);
#endif
    return JpegNonZeroZigzagMaskPortable(block);
}
