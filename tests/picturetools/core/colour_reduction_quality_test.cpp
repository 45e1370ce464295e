// Quality guard for the colour reduction: the error (PSNR) of each target count and mode on a
// photo-like and a screen-like picture stays where it is, so a quantiser that collapsed the
// picture (or drifted far from these figures) is caught, and colours already in the palette
// come through exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"

namespace {

uint8_t Clamp(int v) { return uint8_t(std::clamp(v, 0, 255)); }

// Soft gradients, two shaded discs, a fine texture and noise: thousands of colours.
void FillPhoto(CPicture& p)
{
    const int w = 192, h = 144;
    ASSERT_TRUE(p.Create(w, h));
    uint32_t seed = 2024;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27) - 16;
            int r = 40 + x * 150 / w, g = 70 + y * 120 / h, b = 160 - (x + y) * 90 / (w + h);
            const int dx1 = x - 60, dy1 = y - 50, dx2 = x - 140, dy2 = y - 95;
            if (dx1 * dx1 + dy1 * dy1 < 35 * 35) {
                const int shade = 255 - (dx1 * dx1 + dy1 * dy1) / 8;
                r = shade, g = shade * 3 / 4, b = shade / 3;
            } else if (dx2 * dx2 + dy2 * dy2 < 30 * 30) {
                r = 30 + (dx2 + 30) * 2, g = 120 + (dy2 + 30), b = 200;
            }
            const int texture = ((x * 7 + y * 3) % 11) - 5;
            const uint8_t bgr[3] = {Clamp(b + noise + texture), Clamp(g + noise), Clamp(r + noise - texture)};
            p.SetPixel(x, y, bgr);
        }
}

// A desktop: flat window colours, a gradient title bar, antialiased text strokes and a
// small photo-like icon area.
void FillScreen(CPicture& p)
{
    const int w = 192, h = 144;
    ASSERT_TRUE(p.Create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t bgr[3] = {128, 128, 0}; // desktop teal
            const bool inWindow = x >= 16 && x < 176 && y >= 12 && y < 132;
            if (inWindow) {
                if (y < 26) { // title bar: dark blue to light blue
                    bgr[0] = Clamp(128 + (x - 16) * 127 / 160);
                    bgr[1] = Clamp((x - 16) * 160 / 160);
                    bgr[2] = Clamp((x - 16) * 40 / 160);
                } else if (y < 34) {
                    bgr[0] = bgr[1] = bgr[2] = 192; // menu bar
                } else {
                    bgr[0] = bgr[1] = bgr[2] = 255; // client area
                    // Text lines: strokes with a one-pixel antialiased edge.
                    const int line = (y - 40) % 12;
                    if (y >= 40 && line < 7 && x >= 24 && x < 160) {
                        const int phase = (x * 5 + (y / 12) * 17) % 9;
                        const int ink = phase < 3 ? 0 : phase == 3 ? 96 : phase == 8 ? 160 : 255;
                        bgr[0] = bgr[1] = bgr[2] = uint8_t(ink);
                    }
                    if (x >= 120 && x < 168 && y >= 90 && y < 126) { // an icon-sized photo
                        bgr[0] = Clamp(60 + (x - 120) * 4);
                        bgr[1] = Clamp(200 - (y - 90) * 3);
                        bgr[2] = Clamp(((x * 13) ^ (y * 7)) & 255);
                    }
                }
                if (x == 16 || x == 175 || y == 12 || y == 131)
                    bgr[0] = bgr[1] = bgr[2] = 64; // frame
            }
            p.SetPixel(x, y, bgr);
        }
}

double Psnr(const CPicture& a, const CPicture& b)
{
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int i = 0; i < a.Width() * 3; ++i) {
            const double d = double(a.Row(y)[i]) - double(b.Row(y)[i]);
            sum += d * d;
        }
    const double mse = sum / (double(a.Width()) * a.Height() * 3);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

struct QualityCase {
    bool photo;
    unsigned colours;
    int mode;
    double psnr; // dB, as measured when this guard was set up
};

// Figures of the reduction as it stood when this guard was written.
const QualityCase kCases[] = {
    {true, 256, kMapNearest, 25.99},  {true, 256, kMapDiffuse, 24.08},  {true, 16, kMapNearest, 20.07},
    {true, 16, kMapDiffuse, 17.86},   {true, 2, kMapNearest, 16.63},    {true, 2, kMapDiffuse, 15.77},
    {false, 256, kMapNearest, 41.23}, {false, 256, kMapDiffuse, 36.21}, {false, 16, kMapNearest, 22.10},
    {false, 16, kMapDiffuse, 20.19},  {false, 2, kMapNearest, 9.82},    {false, 2, kMapDiffuse, 8.80},
};

std::vector<uint8_t> Pixels(const CPicture& p)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < p.Height(); ++y)
        out.insert(out.end(), p.Row(y), p.Row(y) + p.Width() * 3);
    return out;
}

} // namespace

TEST(ColourReductionQuality, ErrorStaysWithinHalfADecibelOfItsFigures)
{
    for (const QualityCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << (c.photo ? "photo" : "screen") << " " << c.colours << " colours mode "
                                        << c.mode);
        CPicture original, reduced;
        c.photo ? FillPhoto(original) : FillScreen(original);
        c.photo ? FillPhoto(reduced) : FillScreen(reduced);
        ASSERT_TRUE(ReduceColours(reduced, 0, 0, reduced.Width(), reduced.Height(), c.colours, c.mode, nullptr));
        const double psnr = Psnr(original, reduced);
        EXPECT_NEAR(psnr, c.psnr, 0.5);
    }
}

TEST(ColourReductionQuality, ColoursAlreadyInThePaletteStayExact)
{
    // The screen's own few colours: reducing to as many or more keeps every pixel, and so does
    // mapping onto exactly those colours in either mode (no error to carry).
    CPicture screen;
    ASSERT_TRUE(screen.Create(64, 16));
    const uint8_t colours[5][3] = {{128, 128, 0}, {255, 255, 255}, {0, 0, 0}, {192, 192, 192}, {200, 40, 10}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            screen.SetPixel(x, y, colours[(x / 3 + y / 4) % 5]);
    const std::vector<uint8_t> before = Pixels(screen);
    for (unsigned target : {256u, 16u, 8u}) {
        for (int mode : {kMapNearest, kMapDiffuse}) {
            CPicture p;
            ASSERT_TRUE(p.CopyFrom(screen));
            ASSERT_TRUE(ReduceColours(p, 0, 0, 64, 16, target, mode, nullptr));
            EXPECT_EQ(Pixels(p), before) << target << " colours, mode " << mode;
        }
    }
    for (int mode : {kMapNearest, kMapDiffuse}) {
        CPicture p;
        ASSERT_TRUE(p.CopyFrom(screen));
        ApplyPalette(p, 0, 0, 64, 16, 5, &colours[0][0], mode, nullptr);
        EXPECT_EQ(Pixels(p), before) << "mode " << mode;
    }
    // Black and white pixels through the two-colour palette of the 1-bit writers.
    CPicture bw;
    ASSERT_TRUE(bw.Create(32, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x)
            bw.SetPixel(x, y, colours[(x + y) % 3 == 0 ? 2 : 1]);
    const std::vector<uint8_t> bwBefore = Pixels(bw);
    const uint8_t blackWhite[6] = {0, 0, 0, 255, 255, 255};
    ApplyPalette(bw, 0, 0, 32, 8, 2, blackWhite, kMapDiffuse, nullptr);
    EXPECT_EQ(Pixels(bw), bwBefore);
}
