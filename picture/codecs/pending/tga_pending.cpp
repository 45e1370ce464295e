// Stand-in until the TGA codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& TgaCodec()
{
    static CGraphicsCodec codec("TGA", "Truevision Targa (TGA)", "TGA - Truevision Targa (*.tga)|*.tga|");
    return codec;
}
