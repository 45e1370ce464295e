// Feeds arbitrary bytes to the PCX reader (probe, then read), and writes back what it read.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGraphicsCodec& codec = PcxCodec();
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
