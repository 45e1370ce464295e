#include <gtest/gtest.h>

#include "picture/picture.h"
#include "setup/setup_backdrop.h"

namespace {
void ExpectPixel(BackdropImage& image, int x, int y, int b, int g, int r)
{
    const uint8_t* p = image.Pixel(x, y);
    EXPECT_EQ(p[0], b) << x << "," << y;
    EXPECT_EQ(p[1], g) << x << "," << y;
    EXPECT_EQ(p[2], r) << x << "," << y;
}
} // namespace

TEST(SetupBackdrop, GradientRunsFromBlackThroughTheCaptionColourToWhite)
{
    BackdropImage image;
    ASSERT_TRUE(image.Create(3, 100));
    const uint32_t caption = 0x00C08040; // red 0x40, green 0x80, blue 0xC0
    FillBackdrop(image, true, caption);
    ExpectPixel(image, 0, 0, 0, 0, 0);
    ExpectPixel(image, 2, 50, 0xC0, 0x80, 0x40);
    ExpectPixel(image, 1, 99, 255, 255, 255);
    EXPECT_LT(image.Pixel(0, 25)[0], 0xC0);
    EXPECT_GT(image.Pixel(0, 75)[2], 0x40);

    FillBackdrop(image, false, caption);
    ExpectPixel(image, 0, 0, 0xC0, 0x80, 0x40);
    ExpectPixel(image, 2, 99, 0xC0, 0x80, 0x40);
}

TEST(SetupBackdrop, TheDoubledCopyIsFaintAndTheSplashSitsCentredOnTop)
{
    CPicture splash;
    ASSERT_TRUE(splash.Create(2, 2));
    ASSERT_TRUE(splash.CreateAlpha());
    const uint8_t white[3] = {255, 255, 255};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            splash.SetPixel(x, y, white);
            splash.SetAlpha(x, y, 255);
        }
    splash.SetAlpha(0, 0, 0); // a clear pixel stays clear

    CPicture doubled;
    ASSERT_TRUE(DoubledPicture(splash, doubled));
    EXPECT_EQ(doubled.Width(), 4);
    EXPECT_EQ(doubled.GetAlpha(1, 1), 0);
    EXPECT_EQ(doubled.GetAlpha(3, 3), 255);
    ScaleOpacity(doubled, 0.25);
    EXPECT_EQ(doubled.GetAlpha(3, 3), 64);
    EXPECT_EQ(doubled.GetAlpha(0, 0), 0);

    BackdropImage image;
    ASSERT_TRUE(image.Create(8, 8));
    ComposeBackdrop(image, false, 0, &splash, &splash);
    ExpectPixel(image, 0, 0, 0, 0, 0);         // outside both
    ExpectPixel(image, 2, 2, 0, 0, 0);         // the faint copy's clear corner
    ExpectPixel(image, 5, 2, 64, 64, 64);      // the faint copy only
    ExpectPixel(image, 4, 4, 255, 255, 255);   // the splash itself
    ExpectPixel(image, 3, 3, 0, 0, 0);         // the splash's clear pixel over the faint clear corner
}
