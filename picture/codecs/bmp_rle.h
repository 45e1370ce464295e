#pragma once
// Run-length coding of bitmap rows (RLE8 and RLE4 decoding, RLE8 encoding).
#include <cstdint>
#include <vector>

class CPicture;
class CQnProgress;

// Most pixels one byte of run-length data may stand for when sizing a picture before decoding.
// Encoders spend at least two bytes on a row even when it is blank, so real files stay far
// below this; it only stops a few bytes from claiming a huge picture.
constexpr uint64_t kMaxRlePixelsPerByte = 4096;

// Paints the runs of `data` into `picture` (already created at the bitmap's size, black),
// bottom row first. `colours` holds `count` palette colours (B, G, R). Throws EBmpCorruptFile
// for a run outside the picture, an index outside the colours or data ending too early.
void DecodeBmpRle(const std::vector<uint8_t>& data, unsigned bits, unsigned count, const uint8_t (*colours)[3],
                  CPicture& picture, CQnProgress& progress);

// Appends the RLE8 codes of one row of palette indices, ending with the end-of-line code.
void EncodeRle8Row(const uint8_t* indices, unsigned width, std::vector<uint8_t>& out);
