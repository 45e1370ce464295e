// Stand-in until the OS2 codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& Os2Codec()
{
    static CGraphicsCodec codec("OS2", "OS2 Bitmap (OS2,BMP)", "OS2 - OS2 Bitmap (*.os2)|*.os2|");
    return codec;
}
