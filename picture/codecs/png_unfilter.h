#pragma once
// Undoing the PNG row filters (None, Sub, Up, Average, Paeth) in place, and turning 8-bit RGB
// and RGBA samples into the picture's B, G, R order (and alpha plane). The vector forms give
// the portable forms' bytes exactly; the functions without a suffix choose one by the
// processor's level.
#include <cstddef>
#include <cstdint>

// row: the filtered bytes (without the filter byte), replaced by the unfiltered ones;
// previous: the unfiltered row above, zeros for a pass's first row; bpp: bytes per complete
// pixel, at least 1. A filter above 4 leaves the row alone (the caller refuses it first).
void UnfilterRow(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter);
void UnfilterRowPortable(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter);
// Sub, Average and Paeth a pixel at a time for 3- and 4-byte pixels, Up 16 bytes at a time;
// other pixel sizes go to the portable form.
void UnfilterRowSse2(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned bpp, unsigned filter);

// count pixels of R, G, B bytes to B, G, R (src and dst do not overlap).
void RgbToBgr(uint8_t* dst, const uint8_t* src, size_t count);
void RgbToBgrPortable(uint8_t* dst, const uint8_t* src, size_t count);
void RgbToBgrSse2(uint8_t* dst, const uint8_t* src, size_t count);

// count pixels of R, G, B, A bytes to B, G, R in dst and A in alpha.
void RgbaToBgrAlpha(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
void RgbaToBgrAlphaPortable(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
void RgbaToBgrAlphaSse2(uint8_t* dst, uint8_t* alpha, const uint8_t* src, size_t count);
