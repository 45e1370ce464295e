// Reads arbitrary bytes as a bitmap through every entry of the bitmap family, as LoadPicture
// would, then writes what loaded back out, so that reader and writer both see hostile pictures.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/bmp_codec.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGraphicsStream in;
    in.OpenMemory(data, size);
    int w = 0, h = 0, bits = 0;
    BmpCodec().PingStream(in, &w, &h, &bits, nullptr);
    in.Rewind();
    ReadPackedDib(in);
    // Huge pictures are legal but only slow the search down (the sanitizers poison every
    // byte of a large block); the size checks themselves are covered by the tests.
    if (uint64_t(w) * uint64_t(h) > (uint64_t(1) << 22))
        return 0;

    CPicture picture;
    if (BmpCodec().ReadStream(in, &picture, nullptr) != 1)
        return 0;
    if (picture.Width() * picture.Height() <= 256 * 256) {
        CGraphicsStream out;
        out.CreateMemory(0);
        RleCodec().WriteStream(out, &picture, 0, false, nullptr);
        out.CreateMemory(0);
        BmpCodec().WriteStream(out, &picture, 4, false, nullptr);
    }
    return 0;
}
