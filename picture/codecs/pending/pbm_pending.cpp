// Stand-in until the PBM codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PbmCodec()
{
    static CGraphicsCodec codec("PBM", "Portable Bitmap (PBM)", "PBM - Portable Bitmap (*.pbm)|*.pbm|");
    return codec;
}
