#pragma once
// Constants and small helpers of the PNG container shared by its reader and writer.
#include <cstdint>
#include <cstring>

namespace png {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kIdatChunkSize = 8192;

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

inline unsigned Channels(unsigned colourType)
{
    switch (colourType) {
    case kRgb: return 3;
    case kGreyAlpha: return 2;
    case kRgba: return 4;
    default: return 1;
    }
}

inline uint32_t LoadBE32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

inline void StoreBE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

inline bool IsType(const char type[4], const char* name) { return std::memcmp(type, name, 4) == 0; }

// Adam7: starting column and row and the steps of each of the seven passes.
struct Pass {
    unsigned x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kSinglePass = {0, 0, 1, 1};

inline unsigned PassExtent(unsigned size, unsigned start, unsigned step)
{
    return size > start ? (size - start + step - 1) / step : 0;
}

} // namespace png
