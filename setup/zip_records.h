#pragma once
// The ZIP records the archive reader uses, read from bytes (little-endian, bounds-checked):
// the end-of-central-directory record, central directory headers and local headers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

constexpr uint32_t kZipEndSignature = 0x06054b50;
constexpr uint32_t kZipCentralSignature = 0x02014b50;
constexpr uint32_t kZipLocalSignature = 0x04034b50;
constexpr uint32_t kZipSpannedMarker = 0x08074b50;
constexpr size_t kZipEndRecordSize = 22;
constexpr size_t kZipCentralHeaderSize = 46;
constexpr size_t kZipLocalHeaderSize = 30;
constexpr size_t kZipMaxCommentLength = 65535;

uint16_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);

struct ZipEndRecord {
    uint16_t entryCount = 0;
    uint32_t directoryOffset = 0;
    uint16_t commentLength = 0;
    std::string comment; // as many bytes as follow the record, up to the announced length
};

// Finds the end record in the last bytes of an archive (`tail` holds up to 22 + 65,535 bytes):
// scans backwards from 22 bytes before the end for the signature. None for 21 bytes or fewer,
// or when no signature is found.
std::optional<ZipEndRecord> FindZipEndRecord(std::span<const uint8_t> tail);

struct ZipCentralHeader {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
    uint16_t commentLength = 0;
    uint32_t externalAttributes = 0;
    uint32_t localHeaderOffset = 0;
    std::array<uint8_t, kZipCentralHeaderSize> raw{};

    bool Encrypted() const { return (flags & 1) != 0; }
};

// A 46-byte central directory header; none when the signature is wrong.
std::optional<ZipCentralHeader> ParseZipCentralHeader(std::span<const uint8_t, kZipCentralHeaderSize> bytes);

struct ZipLocalHeader {
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
};

// A 30-byte local header; none when the signature is wrong.
std::optional<ZipLocalHeader> ParseZipLocalHeader(std::span<const uint8_t, kZipLocalHeaderSize> bytes);
