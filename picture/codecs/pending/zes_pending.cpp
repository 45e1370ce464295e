// Stand-in until the ZES codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& ZesCodec()
{
    static CGraphicsCodec codec("ZES", "Zephra Sprite (ZES)", "ZES - Zephra Sprite (*.zes)|*.zes|");
    return codec;
}
