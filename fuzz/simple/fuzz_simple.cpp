// Feeds the rest of the input to one of the simple raster readers, chosen by the first byte;
// each input is both probed and read.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    CGraphicsCodec& (*const codecs[])() = {PbmCodec, PgmCodec, PpmCodec, IffCodec, MacCodec, CutCodec, ClpCodec};
    CGraphicsCodec& codec = codecs[data[0] % (sizeof codecs / sizeof codecs[0])]();
    CGraphicsStream stream;
    stream.OpenMemory(data + 1, size - 1);
    int width, height, bits;
    codec.PingStream(stream, &width, &height, &bits, nullptr);
    CPicture picture;
    codec.ReadStream(stream, &picture, nullptr);
    return 0;
}
