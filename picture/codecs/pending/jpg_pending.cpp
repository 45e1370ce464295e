// Stand-in until the JPG codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& JpgCodec()
{
    static CGraphicsCodec codec("JPG", "Join Photographic Expert Group (JPEG,JPG)", "JPG - JPEG - Join Photographic Expert Group (*.jpg)|*.jpg;*.jpeg|");
    return codec;
}
