#pragma once
// The separate implementations behind UpdateAdler32 and UpdateCrc32, so that tests can hold
// every vector path against the portable one. A path the processor or the build lacks falls
// back to the portable code, so each function always gives the right result.
#include <cstddef>
#include <cstdint>

uint32_t Adler32Portable(uint32_t adler, const uint8_t* data, size_t n);
uint32_t Adler32Sse2(uint32_t adler, const uint8_t* data, size_t n);
uint32_t Adler32Avx2(uint32_t adler, const uint8_t* data, size_t n);

uint32_t Crc32Portable(uint32_t crc, const uint8_t* data, size_t n);
// Carry-less multiplication folding 64 bytes per step; needs PCLMULQDQ.
uint32_t Crc32Pclmul(uint32_t crc, const uint8_t* data, size_t n);
// Whether this processor (and build) can run Crc32Pclmul's vector code.
bool HasPclmul();
