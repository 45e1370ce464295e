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
        // Large canvases are legitimate but only cost memory here.
        if (uint64_t(width) * uint64_t(height) > (uint64_t(1) << 22))
            break;
        CPicture picture;
        codec.ReadStream(stream, &picture, nullptr);
        break;
    }
    }
    return 0;
}
