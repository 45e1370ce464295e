#include "systools/colours/swatch_images_win.h"

#include "systools/colours/colour_parts.h"

namespace {
constexpr int kSwatchSize = 16;
constexpr COLORREF kTransparent = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(128, 128, 128);

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}
} // namespace

HIMAGELIST CreateSwatchImages(std::span<const ColourRef> colours)
{
    HIMAGELIST images = ImageList_Create(kSwatchSize, kSwatchSize, ILC_COLOR24 | ILC_MASK,
                                         static_cast<int>(colours.size()), 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSwatchSize, kSwatchSize);
    ReleaseDC(nullptr, screen);
    if (!images || !dc || !bitmap) {
        if (images)
            ImageList_Destroy(images);
        if (dc)
            DeleteDC(dc);
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    for (ColourRef colour : colours) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        Fill(dc, RECT{0, 0, kSwatchSize, kSwatchSize}, kFrame);
        Fill(dc, RECT{1, 1, kSwatchSize - 1, kSwatchSize - 1}, SwatchColour(colour));
        SelectObject(dc, old);
        ImageList_AddMasked(images, bitmap, kTransparent);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
    return images;
}
