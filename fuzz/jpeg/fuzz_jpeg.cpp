// The JPEG reader on arbitrary bytes from memory: probe, then full read, then the reduced
// decodes of thumbnails (the last byte picks 1/2, 1/4 or 1/8).
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
    JpegFrameSize frame;
    ReadJpegFrameSize(data, size, frame);
    if (size > 0) {
        CPicture reduced;
        DecodeJpegReduced(data, size, 2 << (data[size - 1] % 3), reduced, nullptr);
    }
    return 0;
}
