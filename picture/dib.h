#pragma once
// The 40-byte bitmap header of a device-independent bitmap, as stored in files and memory
// blocks (little-endian, no padding). Portable twin of the platform's BITMAPINFOHEADER.
#include <cstdint>

#pragma pack(push, 1)
struct DibHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(DibHeader) == 40);

constexpr uint32_t kDibRgb = 0;
constexpr uint32_t kDibRle8 = 1;
constexpr uint32_t kDibRle4 = 2;
constexpr uint32_t kDibBitFields = 3;

// Bytes of one row of `width` pixels of `bits` each, padded to a multiple of 4.
constexpr uint64_t DibStride(uint64_t width, unsigned bits) { return ((width * bits + 31) / 32) * 4; }
