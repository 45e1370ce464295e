// Stand-in until the PNG codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PngCodec()
{
    static CGraphicsCodec codec("PNG", "Portable Network Graphics (PNG)", "PNG - Portable Network Graphic (*.png)|*.png|");
    return codec;
}
