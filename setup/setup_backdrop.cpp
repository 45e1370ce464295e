#include "setup/setup_backdrop.h"

#include <algorithm>
#include <cmath>

#include "picture/picture.h"

bool BackdropImage::Create(int w, int h)
{
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535)
        return false;
    width = w;
    height = h;
    stride = (w * 3 + 3) & ~3;
    bgr.assign(static_cast<size_t>(stride) * h, 0);
    return true;
}

namespace {
uint8_t Mix(int from, int to, int step, int steps)
{
    return static_cast<uint8_t>(steps <= 0 ? from : from + (to - from) * step / steps);
}
} // namespace

void FillBackdrop(BackdropImage& image, bool gradient, uint32_t captionColour)
{
    const int red = captionColour & 0xFF, green = (captionColour >> 8) & 0xFF, blue = (captionColour >> 16) & 0xFF;
    const int half = image.height / 2;
    for (int y = 0; y < image.height; ++y) {
        uint8_t b = static_cast<uint8_t>(blue), g = static_cast<uint8_t>(green), r = static_cast<uint8_t>(red);
        if (gradient && y < half) {
            b = Mix(0, blue, y, half);
            g = Mix(0, green, y, half);
            r = Mix(0, red, y, half);
        } else if (gradient) {
            const int steps = image.height - half - 1;
            b = Mix(blue, 255, y - half, steps);
            g = Mix(green, 255, y - half, steps);
            r = Mix(red, 255, y - half, steps);
        }
        for (int x = 0; x < image.width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

void ScaleOpacity(CPicture& picture, double factor)
{
    uint8_t* alpha = picture.Alpha();
    if (!alpha)
        return;
    const size_t count = static_cast<size_t>(picture.Width()) * picture.Height();
    for (size_t i = 0; i < count; ++i)
        if (alpha[i] != 0)
            alpha[i] = static_cast<uint8_t>(std::clamp(std::lround(alpha[i] * factor), 0L, 255L));
}

bool DoubledPicture(const CPicture& source, CPicture& doubled)
{
    if (source.IsEmpty() || source.BitsPerPixel() != 24 || source.Width() > 32767 || source.Height() > 32767)
        return false;
    const int w = source.Width(), h = source.Height();
    if (!doubled.Create(static_cast<unsigned>(w * 2), static_cast<unsigned>(h * 2)))
        return false;
    if (source.HasAlpha() && !doubled.CreateAlpha())
        return false;
    for (int y = 0; y < h * 2; ++y) {
        const uint8_t* from = source.Row(y / 2);
        uint8_t* to = doubled.Row(y);
        for (int x = 0; x < w * 2; ++x)
            std::copy_n(from + (x / 2) * 3, 3, to + x * 3);
        if (source.HasAlpha()) {
            const uint8_t* alphaFrom = source.Alpha() + static_cast<size_t>(y / 2) * w;
            uint8_t* alphaTo = doubled.AlphaRow(y);
            for (int x = 0; x < w * 2; ++x)
                alphaTo[x] = alphaFrom[x / 2];
        }
    }
    return true;
}

void BlendCentred(BackdropImage& image, const CPicture& picture)
{
    if (picture.IsEmpty() || picture.BitsPerPixel() != 24)
        return;
    const int left = (image.width - picture.Width()) / 2, top = (image.height - picture.Height()) / 2;
    const uint8_t* alpha = picture.Alpha();
    for (int y = std::max(0, -top); y < picture.Height() && top + y < image.height; ++y) {
        const uint8_t* row = picture.Row(y);
        for (int x = std::max(0, -left); x < picture.Width() && left + x < image.width; ++x) {
            const int a = alpha ? alpha[static_cast<size_t>(y) * picture.Width() + x] : 255;
            uint8_t* p = image.Pixel(left + x, top + y);
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>((row[x * 3 + c] * a + p[c] * (255 - a) + 127) / 255);
        }
    }
}

void ComposeBackdrop(BackdropImage& image, bool gradient, uint32_t captionColour, const CPicture* ghost,
                     const CPicture* splash)
{
    FillBackdrop(image, gradient, captionColour);
    if (ghost) {
        CPicture doubled;
        if (DoubledPicture(*ghost, doubled)) {
            ScaleOpacity(doubled, 0.25);
            BlendCentred(image, doubled);
        }
    }
    if (splash)
        BlendCentred(image, *splash);
}
