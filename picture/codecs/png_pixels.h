#pragma once
// 8-bit RGB and RGBA samples of a PNG row turned into the picture's B, G, R pixels (and its
// alpha plane). The vector forms give the portable forms' bytes exactly; the functions without
// a suffix choose one by the processor's level.
#include <cstddef>
#include <cstdint>

// count pixels of R, G, B bytes to B, G, R (src and dst do not overlap).
void RgbToBgr(uint8_t* dst, const uint8_t* src, size_t count);
void RgbToBgrPortable(uint8_t* dst, const uint8_t* src, size_t count);
void RgbToBgrSse2(uint8_t* dst, const uint8_t* src, size_t count);

// count pixels of R, G, B, A bytes to B, G, R in dst and A in alpha.
void RgbaToBgrAlpha(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
void RgbaToBgrAlphaPortable(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
void RgbaToBgrAlphaSse2(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
