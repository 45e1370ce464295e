#include "picture/codecs/tga_codec.h"

#include "picture/codecs/codecs.h"

CTgaCodec::CTgaCodec() : CGraphicsCodec("TGA", "Truevision Targa (TGA)", "TGA - Truevision Targa (*.tga)|*.tga|") {}

CGraphicsCodec& TgaCodec()
{
    static CTgaCodec codec;
    return codec;
}
