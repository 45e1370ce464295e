// Stand-in until the PCX codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PcxCodec()
{
    static CGraphicsCodec codec("PCX", "Zsoft PaintBrush (PCX)", "PCX - Zsoft PaintBrush (*.pcx)|*.pcx|");
    return codec;
}
