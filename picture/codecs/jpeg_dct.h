#pragma once
// The 8 x 8 transforms of the JPEG codec.
#include <cstddef>
#include <cstdint>

// Dequantises a block (natural order) and transforms it to 8 x 8 samples, level-shifted by
// 128 and clamped to 0..255, written `stride` bytes apart. Integer Loeffler-Ligtenberg-
// Moschytz flow graph with 13-bit constants in wrapping 32-bit arithmetic, defined for any
// input however damaged. The portable form; jpeg_idct_simd.h has vector forms of it.
void JpegInverseDct(const int16_t coefficients[64], const uint16_t quantizer[64], uint8_t* out,
                    size_t stride);

// The same for a reduced output of width x height samples (each 8, 4, 2 or 1, not both 8)
// from the block's lowest height x width frequencies, scaled so that each sample is the mean
// of the region it stands for (1 x 1: the DC term alone).
void JpegInverseDctReduced(const int16_t coefficients[64], const uint16_t quantizer[64], int width, int height,
                           uint8_t* out, size_t stride);

// Divisors folding the forward transform's output scaling into quantization.
struct JpegQuantDivisors {
    float reciprocal[64]; // in the transform's (transposed) output order
};
JpegQuantDivisors JpegMakeQuantDivisors(const uint8_t quantizer[64]);

// Forward-transforms level-shifted samples (natural order, overwritten; floating-point
// Arai-Agui-Nakajima flow graph), quantises them into `zigzag` (zigzag order) and returns a
// mask with bit k set when zigzag[k] is not zero.
uint64_t JpegForwardDctQuantize(float samples[64], const JpegQuantDivisors& divisors, int16_t zigzag[64]);
