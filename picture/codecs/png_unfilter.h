#pragma once
// Undoing the PNG row filters (None, Sub, Up, Average, Paeth) in place. The vector form gives
// the portable form's bytes exactly; UnfilterRow chooses one by the processor's level.
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
