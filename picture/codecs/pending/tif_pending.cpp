// Stand-in until the TIF codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& TifCodec()
{
    static CGraphicsCodec codec("TIF", "Tagged Image File Format (TIFF,TIF)", "TIF - TIFF - Tagged Image File Format (*.tif)|*.tif;*.tiff|");
    return codec;
}
