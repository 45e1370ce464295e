#include "picture/codecs/psd_codec.h"

#include "picture/codecs/codecs.h"

CPsdCodec::CPsdCodec() : CGraphicsCodec("PSD", "Adobe Photoshop (PSD)", "PSD - Adobe Photoshop (*.psd)|*.psd|") {}

CGraphicsCodec& PsdCodec()
{
    static CPsdCodec codec;
    return codec;
}
