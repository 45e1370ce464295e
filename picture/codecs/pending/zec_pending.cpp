// Stand-in until the ZEC codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& ZecCodec()
{
    static CGraphicsCodec codec("ZEC", "Zephra Composition (ZEC)", "ZEC - Zephra Composition (*.zec)|*.zec|");
    return codec;
}
