#pragma once
// Vector forms of JpegInverseDct (jpeg_dct.h). They give the same samples as the portable
// transform: the flow graph is regrouped into 16 x 16-bit products summed in 32 bits, which
// equals the portable 32-bit wrapping arithmetic as long as every input of each pass fits in
// 15 bits. A block outside that range (only damaged or hand-made streams have one) is left to
// the caller's portable transform: the functions then return false and write nothing.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#define QUENTA_JPEG_IDCT_X86 1

// One block, SSE2.
bool JpegInverseDctSse2(const int16_t coefficients[64], const uint16_t quantizer[64], uint8_t* out, size_t stride);

// Two blocks sharing a quantizer side by side, AVX2 (ask UseAvx2() first). Either block out of
// range: nothing written, false.
bool JpegInverseDctPairAvx2(const int16_t first[64], const int16_t second[64], const uint16_t quantizer[64],
                            uint8_t* firstOut, uint8_t* secondOut, size_t stride);
#endif
