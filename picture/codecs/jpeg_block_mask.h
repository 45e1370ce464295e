#pragma once
// Which coefficients of a block are not zero, as a 64-bit mask in zigzag order: progressive
// refinement visits only those instead of testing all 63 positions one by one.
#include <cstdint>

// Bit k set when block[kJpegZigzagToNatural[k]] != 0 (the block in natural order).
uint64_t JpegNonZeroZigzagMask(const int16_t block[64]);

// The variants behind it, for the tests: each gives the same mask.
uint64_t JpegNonZeroZigzagMaskPortable(const int16_t block[64]);
#if defined(__SSE2__)
uint64_t JpegNonZeroZigzagMaskSse2(const int16_t block[64]);
#endif
