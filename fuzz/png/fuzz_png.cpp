// Reads arbitrary bytes as a PNG file, then probes them.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGraphicsStream stream;
    stream.OpenMemory(data, size);
    CPicture picture;
    PngCodec().ReadStream(stream, &picture, nullptr);
    int w, h, bits;
    PngCodec().PingStream(stream, &w, &h, &bits, nullptr);
    return 0;
}
