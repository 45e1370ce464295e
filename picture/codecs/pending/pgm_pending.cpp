// Stand-in until the PGM codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PgmCodec()
{
    static CGraphicsCodec codec("PGM", "Portable Graymap (PGM)", "PGM - Portable Graymap (*.pgm)|*.pgm|");
    return codec;
}
