// Stand-in until the WMF codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& WmfCodec()
{
    static CGraphicsCodec codec("WMF", "Windows MetaFile (WMF)", "WMF - Windows MetaFile (*.wmf)|*.wmf|");
    return codec;
}
