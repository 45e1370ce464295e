#pragma once
// Vector forms of JpegForwardDctQuantize. They run the same float operations in the same
// order, eight columns at a time, so their coefficients equal the portable transform's.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/jpeg_dct.h"

// Transforms and quantises the 8 x 8 level-shifted samples at `rows` (rows `stride` floats
// apart, left unchanged) into `zigzag`; returns the mask of non-zero zigzag entries.
using JpegFdctQuantizeFunction = uint64_t (*)(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                              int16_t zigzag[64]);

// Copies the block and calls JpegForwardDctQuantize.
uint64_t JpegForwardDctQuantizePortable(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                        int16_t zigzag[64]);
#if defined(__SSE2__)
uint64_t JpegForwardDctQuantizeSse2(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                    int16_t zigzag[64]);
uint64_t JpegForwardDctQuantizeAvx2(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                    int16_t zigzag[64]);
#endif

// The fastest form the processor (capped by ForceSimdLevel / QUENTA_SIMD) allows.
JpegFdctQuantizeFunction JpegSelectForwardDctQuantize();
