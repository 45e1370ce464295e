#pragma once
// The TIFF variant of LZW: codes packed most significant bit first, 9 bits wide at the start,
// clear code 256, end code 257, and the code width growing one code early (at 511, 1023, 2047).
#include <cstddef>
#include <cstdint>

namespace rastercodec {

// Decodes one strip into out[0..outSize). Returns the number of bytes produced, which is
// less than outSize when the data ends early or holds an impossible code.
size_t DecodeTiffLzw(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize);

} // namespace rastercodec
