// Stand-in until the RLE codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& RleCodec()
{
    static CGraphicsCodec codec("RLE", "Windows compressed bitmap (RLE)", "RLE - Windows (*.rle)|*.rle;*.bmp|");
    return codec;
}
