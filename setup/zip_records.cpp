#include "setup/zip_records.h"

#include <algorithm>

uint16_t ReadLe16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t ReadLe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::optional<ZipEndRecord> FindZipEndRecord(std::span<const uint8_t> tail)
{
    if (tail.size() < kZipEndRecordSize)
        return std::nullopt;
    for (size_t at = tail.size() - kZipEndRecordSize + 1; at-- > 0;) {
        if (ReadLe32(tail.data() + at) != kZipEndSignature)
            continue;
        const uint8_t* record = tail.data() + at;
        ZipEndRecord end;
        end.entryCount = ReadLe16(record + 10);
        end.directoryOffset = ReadLe32(record + 16);
        end.commentLength = ReadLe16(record + 20);
        const size_t present = tail.size() - at - kZipEndRecordSize;
        const size_t commentBytes = std::min<size_t>(present, end.commentLength);
        end.comment.assign(reinterpret_cast<const char*>(record + kZipEndRecordSize), commentBytes);
        return end;
    }
    return std::nullopt;
}

std::optional<ZipCentralHeader> ParseZipCentralHeader(std::span<const uint8_t, kZipCentralHeaderSize> bytes)
{
    const uint8_t* b = bytes.data();
    if (ReadLe32(b) != kZipCentralSignature)
        return std::nullopt;
    ZipCentralHeader header;
    header.flags = ReadLe16(b + 8);
    header.method = ReadLe16(b + 10);
    header.dosTime = ReadLe16(b + 12);
    header.dosDate = ReadLe16(b + 14);
    header.crc = ReadLe32(b + 16);
    header.compressedSize = ReadLe32(b + 20);
    header.uncompressedSize = ReadLe32(b + 24);
    header.nameLength = ReadLe16(b + 28);
    header.extraLength = ReadLe16(b + 30);
    header.commentLength = ReadLe16(b + 32);
    header.externalAttributes = ReadLe32(b + 38);
    header.localHeaderOffset = ReadLe32(b + 42);
    std::copy(bytes.begin(), bytes.end(), header.raw.begin());
    return header;
}

std::optional<ZipLocalHeader> ParseZipLocalHeader(std::span<const uint8_t, kZipLocalHeaderSize> bytes)
{
    const uint8_t* b = bytes.data();
    if (ReadLe32(b) != kZipLocalSignature)
        return std::nullopt;
    return ZipLocalHeader{ReadLe16(b + 26), ReadLe16(b + 28)};
}
