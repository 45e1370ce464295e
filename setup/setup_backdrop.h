#pragma once
// The setup screen's backdrop, composed in memory: the fill (a two-part vertical gradient on
// screens of more than 8 bits per pixel, else the active-caption colour), then the splash
// picture centred twice: a copy at double size with its opacity scaled by 0.25, and the
// picture at its own size on top, both blended through their opacity.
#include <cstddef>
#include <cstdint>
#include <vector>

class CPicture;

// A top-down B,G,R image with rows padded to 4 bytes (what a 24-bit top-down DIB holds).
struct BackdropImage {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> bgr;

    bool Create(int w, int h);
    uint8_t* Pixel(int x, int y) { return bgr.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3; }
};

// colour: a COLORREF (0x00BBGGRR). Upper half from black to the colour, lower half from the
// colour to white; a flat fill when !gradient.
void FillBackdrop(BackdropImage& image, bool gradient, uint32_t captionColour);

// Multiplies each non-zero opacity value by `factor`, rounded and clamped to 0..255.
void ScaleOpacity(CPicture& picture, double factor);

// A copy of the picture at twice its size (each pixel becomes 2 x 2), opacity included.
bool DoubledPicture(const CPicture& source, CPicture& doubled);

// Blends the picture centred onto the image through its opacity (opaque without one).
void BlendCentred(BackdropImage& image, const CPicture& picture);

// The whole backdrop: fill, the faint doubled `ghost`, then `splash` on top.
void ComposeBackdrop(BackdropImage& image, bool gradient, uint32_t captionColour, const CPicture* ghost,
                     const CPicture* splash);
