#pragma once
// Turning picture pixels (B, G, R) into PNG samples (R, G, B): the portable loop and its
// vector forms, chosen by the processor's level (base/cpu_features.h). Every form gives the
// same bytes.
#include <cstddef>
#include <cstdint>

namespace png {

void BgrToRgb(const uint8_t* bgr, uint8_t* rgb, size_t pixels);

void BgrToRgbPortable(const uint8_t* bgr, uint8_t* rgb, size_t pixels);
#if defined(__x86_64__) || defined(_M_X64)
void BgrToRgbSse2(const uint8_t* bgr, uint8_t* rgb, size_t pixels);
void BgrToRgbAvx2(const uint8_t* bgr, uint8_t* rgb, size_t pixels);
#endif

} // namespace png
