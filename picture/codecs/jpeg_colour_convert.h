#pragma once
// The JPEG writer's colour conversion: eight pixels by eight rows of a 24-bit picture (bytes
// blue, green, red) to level-shifted Y, Cb and Cr blocks, 12 fraction bits, capped at 255:
//   Y  = (1224 R + 2404 G + 466 B + 2048) >> 12
//   Cb = (2048 B - 1357 G - 690 R + 526336) >> 12
//   Cr = (2048 R - 1714 G - 333 B + 526336) >> 12
#include <cstdint>

// Converts the pixels x..x+7 of the eight `rows` into blocks[0] (Y), [1] (Cb) and [2] (Cr),
// natural order; columns at or past `width` repeat the row's last pixel.
void JpegConvertBlock(const uint8_t* const rows[8], int x, int width, float blocks[3][64]);

#if defined(__SSE2__)
// The same with SSE2 and with AVX2, for a block that lies wholly inside the rows
// (x + 8 <= width); they read exactly the 24 bytes of each row's eight pixels.
void JpegConvertBlockSse2(const uint8_t* const rows[8], int x, float blocks[3][64]);
void JpegConvertBlockAvx2(const uint8_t* const rows[8], int x, float blocks[3][64]);
#endif
