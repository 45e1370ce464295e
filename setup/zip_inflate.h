#pragma once
// The data of a ZIP member, stored or deflated, checked against its size and CRC-32.
#include <cstdint>
#include <span>
#include <vector>

// Raw deflate data are inflated by zlib behind a zlib header (0x78 0x9C) into a buffer of the
// known size; the stream carries no Adler-32 trailer, so stopping short of it is no error. The
// member counts only when its whole size came out and its CRC-32 matches: damaged data never
// pass for the file.
bool InflateZipMember(std::span<const uint8_t> raw, uint32_t uncompressedSize, uint32_t crc,
                      std::vector<uint8_t>& plain);
// A stored member: its bytes, checked the same way.
bool CheckZipMember(std::span<const uint8_t> plain, uint32_t crc);
