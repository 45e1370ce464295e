// Stand-in until the IFF codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& IffCodec()
{
    static CGraphicsCodec codec("IFF", "Interchange File Format (IFF)", "IFF - Interchange File Format (*.iff)|*.iff|");
    return codec;
}
