// Stand-in until the DIB codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& DibCodec()
{
    static CGraphicsCodec codec("DIB", "Windows Device-Independent Bitmap (DIB)", "DIB - Device-independent bitmap (*.dib)|*.dib|");
    return codec;
}
