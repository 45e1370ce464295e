#include "picture/codecs/checksums.h"

#include <array>

#include "base/cpu_features.h"
#include "picture/codecs/checksum_paths.h"

namespace {
// Eight tables so that the CRC advances eight bytes per step (slicing by 8).
struct CrcTables {
    std::array<std::array<uint32_t, 256>, 8> t{};
    CrcTables()
    {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n)
            for (int k = 1; k < 8; ++k)
                t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    }
};

const CrcTables& Tables()
{
    static const CrcTables tables;
    return tables;
}

uint32_t LoadLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
} // namespace

uint32_t Crc32Portable(uint32_t crc, const uint8_t* data, size_t n)
{
    const auto& t = Tables().t;
    uint32_t c = ~crc;
    while (n >= 8) {
        uint32_t lo = LoadLE32(data) ^ c, hi = LoadLE32(data + 4);
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
            t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        data += 8;
        n -= 8;
    }
    while (n--)
        c = t[0][(c ^ *data++) & 0xFF] ^ (c >> 8);
    return ~c;
}

uint32_t Adler32Portable(uint32_t adler, const uint8_t* data, size_t n)
{
    constexpr uint32_t kBase = 65521;
    constexpr size_t kMaxRun = 5552; // largest run whose sums cannot overflow 32 bits
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    while (n) {
        size_t run = n < kMaxRun ? n : kMaxRun;
        n -= run;
        while (run >= 8) {
            a += data[0]; b += a; a += data[1]; b += a; a += data[2]; b += a; a += data[3]; b += a;
            a += data[4]; b += a; a += data[5]; b += a; a += data[6]; b += a; a += data[7]; b += a;
            data += 8;
            run -= 8;
        }
        while (run--) {
            a += *data++;
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return (b << 16) | a;
}

uint32_t UpdateCrc32(uint32_t crc, const uint8_t* data, size_t n)
{
    if (n >= 64 && UseSse2() && HasPclmul())
        return Crc32Pclmul(crc, data, n);
    return Crc32Portable(crc, data, n);
}

uint32_t UpdateAdler32(uint32_t adler, const uint8_t* data, size_t n)
{
    if (n < 32)
        return Adler32Portable(adler, data, n);
    if (UseAvx2())
        return Adler32Avx2(adler, data, n);
    if (UseSse2())
        return Adler32Sse2(adler, data, n);
    return Adler32Portable(adler, data, n);
}
