// Stand-in until the EMF codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& EmfCodec()
{
    static CGraphicsCodec codec("EMF", "Enhanced MetaFile (EMF)", "EMF - Enhanced MetaFile (*.emf)|*.emf|");
    return codec;
}
