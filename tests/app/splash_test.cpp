#include <gtest/gtest.h>

#include "app/splash.h"

namespace {
void Fill(CPicture& p, int w, int h, uint8_t b, uint8_t g, uint8_t r)
{
    ASSERT_TRUE(p.Create(w, h));
    const uint8_t bgr[3] = {b, g, r};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, bgr);
}
} // namespace

TEST(Splash, MaskGivesSizeAndOpacity)
{
    CPicture colour, mask;
    Fill(colour, 4, 3, 200, 100, 50);
    Fill(mask, 4, 3, 0, 255, 255);
    const uint8_t opaque[3] = {255, 0, 0}, half[3] = {128, 0, 0};
    mask.SetPixel(1, 0, opaque);
    mask.SetPixel(2, 2, half);

    SplashPictures s;
    ASSERT_TRUE(ComposeSplash(colour, mask, s));
    EXPECT_EQ(s.splash.Width(), 4);
    EXPECT_EQ(s.splash.Height(), 3);
    ASSERT_TRUE(s.splash.HasAlpha());
    EXPECT_EQ(s.splash.GetAlpha(1, 0), 255);
    EXPECT_EQ(s.splash.GetAlpha(2, 2), 128);
    EXPECT_EQ(s.splash.GetAlpha(0, 0), 0) << "the first (blue) byte is the opacity";

    uint8_t px[3];
    s.darkened.GetPixel(1, 0, px);
    EXPECT_EQ(px[0], 100);
    EXPECT_EQ(px[1], 50);
    EXPECT_EQ(px[2], 25);
    s.overWhite.GetPixel(1, 0, px); // opaque: the colour itself
    EXPECT_EQ(px[0], 200);
    EXPECT_EQ(px[2], 50);
    s.overWhite.GetPixel(0, 0, px); // transparent: white
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[2], 255);
    s.overWhite.GetPixel(2, 2, px); // half: between the two
    EXPECT_NEAR(px[2], (50 * 128 + 255 * 127) / 255, 1);
}

TEST(Splash, SmallerColourPictureStaysInBounds)
{
    CPicture colour, mask, empty;
    Fill(colour, 2, 1, 10, 20, 30);
    Fill(mask, 5, 4, 255, 0, 0);
    SplashPictures s;
    ASSERT_TRUE(ComposeSplash(colour, mask, s));
    uint8_t px[3];
    s.splash.GetPixel(4, 3, px);
    EXPECT_EQ(px[0], 0);
    s.splash.GetPixel(1, 0, px);
    EXPECT_EQ(px[0], 10);
    EXPECT_FALSE(ComposeSplash(empty, mask, s));
}
