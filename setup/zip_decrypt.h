#pragma once
// Traditional PKWARE encryption (three 32-bit keys updated through CRC-32): decrypting an
// entry's data, whose first 12 bytes are the encryption header.
#include <cstdint>
#include <span>
#include <string>

class ZipDecryptor {
public:
    explicit ZipDecryptor(const std::string& password);
    // Decrypts in place.
    void Decrypt(std::span<uint8_t> bytes);

private:
    void UpdateKeys(uint8_t plain);
    uint8_t NextStreamByte() const;

    uint32_t m_keys[3] = {0x12345678, 0x23456789, 0x34567890};
};

constexpr size_t kZipEncryptionHeaderSize = 12;
