#include "picture/codecs/pcx_codec.h"

#include "picture/codecs/codecs.h"

CPcxCodec::CPcxCodec() : CGraphicsCodec("PCX", "Zsoft PaintBrush (PCX)", "PCX - Zsoft PaintBrush (*.pcx)|*.pcx|") {}

CGraphicsCodec& PcxCodec()
{
    static CPcxCodec codec;
    return codec;
}
