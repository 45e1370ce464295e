#pragma once
// PackBits run-length coding as used by TIFF (compression 32773) and Photoshop rows:
// a control byte n of 0..127 is followed by n + 1 literal bytes, -127..-1 repeats the next
// byte 1 - n times, and -128 is a no-op.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rastercodec {

struct UnpackResult {
    size_t produced = 0; // bytes written to the output
    size_t consumed = 0; // bytes read from the input
};

// Decodes until `outSize` bytes are produced or the input ends; never writes past `outSize`
// nor reads past `inSize`.
UnpackResult UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize);

// Appends the PackBits form of `n` bytes to `out`.
void PackBits(const uint8_t* in, size_t n, std::vector<uint8_t>& out);

} // namespace rastercodec
