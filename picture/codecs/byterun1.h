#pragma once
// ByteRun1 (PackBits) run-length coding shared by the IFF/LBM and MacPaint codecs.
// A control byte n of 0..127 copies n + 1 literal bytes; -1..-127 repeats the next byte
// 1 - n times; -128 is a no-op.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace byterun1 {

// Appends the coding of `n` bytes to `out`.
void Encode(const uint8_t* src, size_t n, std::vector<uint8_t>& out);

// Decodes from [src, end) until `n` output bytes are produced; `src` is advanced past what was
// used. A run that passes the end of the output is cut. False when the input ends first.
bool Decode(const uint8_t*& src, const uint8_t* end, uint8_t* dst, size_t n);

} // namespace byterun1
