// The JPEG reader on arbitrary bytes from memory: probe, then full read.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/jpeg_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGraphicsStream stream;
    stream.OpenMemory(data, size);
    int width = 0, height = 0, bits = 0;
    JpegCodec().PingStream(stream, &width, &height, &bits, nullptr);
    CPicture picture;
    JpegCodec().ReadStream(stream, &picture, nullptr);
    return 0;
}
