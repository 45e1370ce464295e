#pragma once
// What the vector inverse DCTs share: the flow graph's 13-bit constants regrouped into pairs
// for 16 x 16-bit multiply-adds (each pair's first member scales the first input of the
// pair), the passes' shifts, and the sample of a block without AC terms.
#include <cstdint>

namespace jpeg_idct {
// Even part: tmp0/tmp1 from (x0, x4), tmp3/tmp2 from (x2, x6).
constexpr int kShift13 = 8192;
constexpr int kEven3a = 4433 + 6270, kEven3b = 4433;   // tmp3 = x2 (0.541 + 0.765) + x6 0.541
constexpr int kEven2a = 4433, kEven2b = 4433 - 15137;  // tmp2 = x2 0.541 + x6 (0.541 - 1.848)
// Odd part: z3' and z4' from (x7 + x3, x5 + x1); the outputs from (x7, x1) and (x5, x3).
constexpr int kZ3a = 9633 - 16069, kZ3b = 9633;        // z3 (1.176 - 1.962) + z4 1.176
constexpr int kZ4a = 9633, kZ4b = 9633 - 3196;         // z3 1.176 + z4 (1.176 - 0.390)
constexpr int kOdd0a = 2446 - 7373, kOdd0b = -7373;    // x7 (0.299 - 0.900) - x1 0.900
constexpr int kOdd3a = -7373, kOdd3b = 12299 - 7373;   // -x7 0.900 + x1 (1.501 - 0.900)
constexpr int kOdd1a = 16819 - 20995, kOdd1b = -20995; // x5 (2.053 - 2.563) - x3 2.563
constexpr int kOdd2a = -20995, kOdd2b = 25172 - 20995; // -x5 2.563 + x3 (3.073 - 2.563)

constexpr int kColumnShift = 13 - 2;    // keeps two extra bits between the passes
constexpr int kRowShift = 13 + 2 + 3;

// The sample of every position of a block whose AC terms are all zero, as the portable
// transform computes it (wrapping 32-bit arithmetic for any input).
inline uint8_t DcOnlySample(int16_t dc, uint16_t quantizer)
{
    const uint32_t work = static_cast<uint32_t>(int32_t{dc} * int32_t{quantizer}) << 2;
    const int32_t v = static_cast<int32_t>(work + 16) >> 5;
    return static_cast<uint8_t>(v < -128 ? 0 : v > 127 ? 255 : v + 128);
}
} // namespace jpeg_idct
