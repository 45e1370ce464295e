// Stand-in until the PPM codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PpmCodec()
{
    static CGraphicsCodec codec("PPM", "Portable Pixelmap (PPM)", "PPM - Portable Pixelmap (*.ppm)|*.ppm|");
    return codec;
}
