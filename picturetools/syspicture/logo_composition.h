#pragma once
// Bringing any picture to the system's logo form: 320 x 400 pixels in 256 colours, and for
// the start-up picture the scrolling bar, a band of palette entries the system rotates at boot.
#include <cstdint>
#include <optional>
#include <vector>

#include "picturetools/syspicture/logo_file.h"
#include "picturetools/syspicture/syspicture_settings.h"

class CPicture;
class CQnProgress;

struct LogoRequest {
    SysPictureSettings settings; // as applied (NormaliseBarRect, BarColoursFromEdit)
    bool withBar = false;        // only the start-up picture carries one
    BarOrientation orientation = BarOrientation::LeftToRight;
};

// Blue, green, red of a Windows colour value (red in the low byte).
void ColourToBgr(uint32_t colour, uint8_t bgr[3]);

// Makes the picture 320 x 400 by the resize mode (its palette, if any, is dropped first).
// False on a cancel or when memory runs out.
bool FitToLogo(CPicture& picture, ResizeMode mode, uint32_t background, CQnProgress* progress);
// Every pixel becomes the mean of its three bytes, and the palette the 256 greys.
void MakeGreyScale(CPicture& picture);

// The bar's colours in a 256-entry palette (blue, green, red): entry `first` = A, entry
// first + count / 2 = B, entry 255 = A, linear blends between.
void FillBarPalette(std::vector<uint8_t>& palette, int count, const uint8_t a[3], const uint8_t b[3]);
// Paints `count` bands, index 255 first, across the rectangle (columns for the horizontal
// orientations, rows for the vertical ones); the last band runs to the rectangle's far edge.
void DrawBarBands(LogoImage& image, const BarRect& rect, int count, BarOrientation orientation);
// Each pixel's index: the first palette entry with its three bytes, 0 when none has them.
std::vector<uint8_t> IndexPixels(const CPicture& picture, const std::vector<uint8_t>& palette);

// The whole preparation and the file's bytes: the 8-bit bitmap without a bar, the logo layout
// with it. The picture is changed on the way. Empty on a cancel or failure.
std::vector<uint8_t> ComposeLogoFile(CPicture& picture, const LogoRequest& request, CQnProgress* progress);
