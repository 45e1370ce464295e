// Stand-in until the PSD codec is written: recognises nothing, writes nothing.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"

CGraphicsCodec& PsdCodec()
{
    static CGraphicsCodec codec("PSD", "Adobe Photoshop (PSD)", "PSD - Adobe Photoshop (*.psd)|*.psd|");
    return codec;
}
