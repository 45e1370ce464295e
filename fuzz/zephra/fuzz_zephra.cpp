// The image editor's readers: the first byte picks the picture block, sprite or composition
// reader (through the ZES and ZEC codecs too); the rest is the file.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/codecs.h"
#include "picture/codecs/composition.h"
#include "picture/codecs/picture_block.h"
#include "picture/codecs/sprite.h"
#include "picture/graphics_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    CGraphicsStream stream;
    stream.OpenMemory(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0: {
        CPicture picture;
        ReadPictureBlock(picture, stream, nullptr);
        break;
    }
    case 1: {
        CSprite sprite;
        ReadSprite(sprite, stream, nullptr);
        break;
    }
    case 2: {
        CComposition composition;
        ReadComposition(stream, composition, nullptr);
        break;
    }
    default: {
        CGraphicsCodec& codec = data[0] % 5 == 3 ? ZesCodec() : ZecCodec();
        int width, height, bits;
        if (!codec.PingStream(stream, &width, &height, &bits, nullptr))
            break;
        // Large canvases are legitimate but only cost memory here. A sprite tree's canvas beyond
        // what the ZES reader draws (2^28 pixels) is read all the same: the reader must refuse it
        // without allocating (fuzz/crashers/zephra/zes_huge_canvas once ran out of memory).
        const uint64_t pixels = uint64_t(width) * uint64_t(height);
        const bool refusedByReader = &codec == &ZesCodec() && pixels > (uint64_t(1) << 28);
        if (pixels > (uint64_t(1) << 22) && !refusedByReader)
            break;
        CPicture picture;
        codec.ReadStream(stream, &picture, nullptr);
        break;
    }
    }
    return 0;
}
