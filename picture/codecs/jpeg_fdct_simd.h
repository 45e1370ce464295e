#pragma once
// The JPEG writer's transform and quantiser in vector forms. They run the float operations
// of JpegForwardDctQuantize in the same order, eight columns at a time, so every coefficient
// equals the portable transform's.
//
// Unlike JpegForwardDctQuantize they leave the coefficients where the transform puts them
// (its transposed natural order) and return the mask in zigzag order: the entropy coder
// visits only the non-zero terms, found by the mask, and fetches each one through
// kJpegFdctZigzagPosition, which is cheaper than reordering all 64.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/jpeg_dct.h"

// Where the k-th zigzag coefficient lies in a transform's output.
extern const uint8_t kJpegFdctZigzagPosition[64];

// Transforms and quantises the 8 x 8 level-shifted samples at `rows` (rows `stride` floats
// apart, left unchanged) into `coefficients`; returns the mask with bit k set when the k-th
// zigzag coefficient is not zero.
using JpegFdctQuantizeFunction = uint64_t (*)(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                              int16_t coefficients[64]);

// Through JpegForwardDctQuantize.
uint64_t JpegForwardDctQuantizePortable(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                        int16_t coefficients[64]);
#if defined(__SSE2__)
uint64_t JpegForwardDctQuantizeSse2(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                    int16_t coefficients[64]);
uint64_t JpegForwardDctQuantizeAvx2(const float* rows, size_t stride, const JpegQuantDivisors& divisors,
                                    int16_t coefficients[64]);
#endif

// The fastest form the processor (capped by ForceSimdLevel / QUENTA_SIMD) allows.
JpegFdctQuantizeFunction JpegSelectForwardDctQuantize();
