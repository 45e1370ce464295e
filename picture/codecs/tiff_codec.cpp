#include "picture/codecs/tiff_codec.h"

#include "picture/codecs/codecs.h"

CTiffCodec::CTiffCodec()
    : CGraphicsCodec("TIF", "Tagged Image File Format (TIFF,TIF)",
                     "TIF - TIFF - Tagged Image File Format (*.tif)|*.tif;*.tiff|")
{
    TiffDisplayResolution(m_xDpi, m_yDpi);
}

bool CTiffCodec::CanWriteDepth(int bits) const
{
    return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

CGraphicsCodec& TifCodec()
{
    static CTiffCodec codec;
    return codec;
}
