// Stand-in until the CLP codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& ClpCodec()
{
    static CGraphicsCodec codec("CLP", "Windows Clipboard (CLP)", "CLP - Windows Clipboard (*.clp)|*.clp|");
    return codec;
}
