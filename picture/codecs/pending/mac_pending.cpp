// Stand-in until the MAC codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& MacCodec()
{
    static CGraphicsCodec codec("MAC", "MacPaint (MAC)", "MAC - MacPaint (*.mac)|*.mac|");
    return codec;
}
