#include "setup/zip_decrypt.h"

#include <array>

namespace {
const std::array<uint32_t, 256>& CrcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t Crc32Step(uint32_t crc, uint8_t byte) { return CrcTable()[(crc ^ byte) & 0xFF] ^ (crc >> 8); }
} // namespace

ZipDecryptor::ZipDecryptor(const std::string& password)
{
    for (char c : password)
        UpdateKeys(static_cast<uint8_t>(c));
}

void ZipDecryptor::UpdateKeys(uint8_t plain)
{
    m_keys[0] = Crc32Step(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = Crc32Step(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
}

uint8_t ZipDecryptor::NextStreamByte() const
{
    const uint32_t temp = (m_keys[2] & 0xFFFF) | 2; // 32 bits: the product overflows an int
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipDecryptor::Decrypt(std::span<uint8_t> bytes)
{
    for (uint8_t& b : bytes) {
        const uint8_t plain = static_cast<uint8_t>(b ^ NextStreamByte());
        UpdateKeys(plain);
        b = plain;
    }
}
