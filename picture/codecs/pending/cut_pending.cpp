// Stand-in until the CUT codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& CutCodec()
{
    static CGraphicsCodec codec("CUT", "Dr. Halo (CUT)", "CUT - Dr. Halo (*.cut)|*.cut|");
    return codec;
}
