#include "picture/codecs/raster_picture.h"

#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

namespace rastercodec {

void PreparePicture(CPicture& picture, unsigned width, unsigned height, int bits)
{
    if (width == 0 || height == 0 || width > CPicture::kMaxDimension || height > CPicture::kMaxDimension)
        throw EGraphicsException("Picture size out of range");
    if (!picture.Create(width, height))
        throw EGraphicsException("Not enough memory for the picture");
    picture.DeleteAlpha();
    picture.ResizePalette(0);
    if (bits <= 8)
        picture.SetPaletteSize(1u << bits);
    else
        picture.SetBitsPerPixel(bits); // 32 creates the alpha plane
}

} // namespace rastercodec
