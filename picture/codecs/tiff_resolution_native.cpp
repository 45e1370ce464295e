// Without a display device the writer records the customary 96 pixels per inch.
#include "picture/codecs/tiff_codec.h"

void TiffDisplayResolution(unsigned& xDpi, unsigned& yDpi)
{
    xDpi = 96;
    yDpi = 96;
}
