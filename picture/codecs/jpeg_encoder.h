#pragma once
// The baseline JPEG writer: JFIF with a comment, three components sampled 1 x 1, quantization
// tables scaled from the T.81 Annex K tables, Huffman tables optimised for each image.
#include <array>
#include <cstdint>

class CPicture;
class CGraphicsStream;
class CQnProgress;

// Quantization table for `quality` (1..100; EJpegValueOutOfRange otherwise), natural order:
// the reference table scaled by 2^((300 - 6 q) / 50), truncated, limited to 1..255.
std::array<uint8_t, 64> JpegScaledQuantTable(const uint8_t reference[64], int quality);

// Writes `picture` to `stream`. Throws EJpegError family members (and EJpegAbort on cancel).
void JpegEncodePicture(const CPicture& picture, int quality, CGraphicsStream& stream, CQnProgress& progress);
