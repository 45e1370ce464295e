// Stand-in until the GIF codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& GifCodec()
{
    static CGraphicsCodec codec("GIF", "CompuServe Graphic Interchange Format (GIF)", "GIF - CompuServe (*.gif)|*.gif|");
    return codec;
}
