// The display's logical resolution, recorded in the files the TIFF writer makes.
#include <windows.h>

#include "picture/codecs/tiff_codec.h"

void TiffDisplayResolution(unsigned& xDpi, unsigned& yDpi)
{
    xDpi = yDpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        const int x = GetDeviceCaps(screen, LOGPIXELSX), y = GetDeviceCaps(screen, LOGPIXELSY);
        if (x > 0)
            xDpi = static_cast<unsigned>(x);
        if (y > 0)
            yDpi = static_cast<unsigned>(y);
        ReleaseDC(nullptr, screen);
    }
}
