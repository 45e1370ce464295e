// Stand-in until the LBM codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& LbmCodec()
{
    static CGraphicsCodec codec("LBM", "Interleaved Bitmap (LBM)", "LBM - Interleaved Bitmap (*.lbm)|*.lbm|");
    return codec;
}
