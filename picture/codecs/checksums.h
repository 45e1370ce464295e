#pragma once
// Running checksums of the PNG container: CRC-32 of every chunk (polynomial 0xEDB88320)
// and Adler-32 of the zlib stream's uncompressed data.
#include <cstddef>
#include <cstdint>

// Continues a CRC-32: start with 0, pass the previous result back in.
uint32_t UpdateCrc32(uint32_t crc, const uint8_t* data, size_t n);

// Continues an Adler-32: start with 1, pass the previous result back in.
uint32_t UpdateAdler32(uint32_t adler, const uint8_t* data, size_t n);
