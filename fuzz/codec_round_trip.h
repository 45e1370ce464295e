#pragma once
// Shared body of the codec fuzz targets: feeds arbitrary bytes to one codec's reader (probe,
// then read) and writes back what it read.
#include <cstddef>
#include <cstdint>

#include "picture/graphics_codec.h"

inline int FuzzCodecRoundTrip(CGraphicsCodec& codec, const uint8_t* data, size_t size)
{
    CGraphicsStream input;
    input.OpenMemory(data, size);
    int width = 0, height = 0;
    if (!codec.PingStream(input, &width, &height, nullptr, nullptr))
        return 0;
    // Large pictures are legitimate but only cost memory here.
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > (1u << 22))
        return 0;
    CPicture picture;
    if (!codec.ReadStream(input, &picture, nullptr))
        return 0;
    CGraphicsStream output;
    output.CreateMemory(0);
    codec.WriteStream(output, &picture, 0, true, nullptr);
    return 0;
}
