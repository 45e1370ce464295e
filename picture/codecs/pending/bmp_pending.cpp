// Stand-in until the BMP codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& BmpCodec()
{
    static CGraphicsCodec codec("BMP", "Windows bitmap (BMP)", "BMP - Windows Bitmap (*.bmp)|*.bmp|");
    return codec;
}
