// Fitting pictures into the preview area of the picture open dialog.
#include "shell/picture_open/preview_fit.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/picture.h"

namespace {
// A picture of vertical stripes: columns alternate black and white.
void Stripe(CPicture& picture, int width, int height)
{
    ASSERT_TRUE(picture.Create(width, height));
    const uint8_t white[3] = {255, 255, 255};
    for (int y = 0; y < height; ++y)
        for (int x = 1; x < width; x += 2)
            picture.SetPixel(x, y, white);
}
} // namespace

TEST(PreviewFit, ChoosesSizeAndScaling)
{
    using enum PreviewScaling;
    const struct {
        int pictureWidth, pictureHeight, areaWidth, areaHeight;
        PreviewScaling scaling;
        int width, height;
    } cases[] = {
        {100, 50, 100, 50, None, 100, 50}, // fits exactly
        {10, 10, 200, 100, None, 10, 10},  // never enlarged
        {300, 100, 200, 200, Smooth, 200, 67}, // the width limits
        {100, 200, 200, 150, Smooth, 75, 150}, // the height limits
        {400, 400, 200, 200, NearestThenHalve, 200, 200},
        {399, 399, 200, 200, Smooth, 200, 200}, // just short of twice
        {800, 300, 200, 200, NearestThenHalve, 200, 75}, // 300 >= 2 x 75 as well
        {1000, 10, 100, 100, NearestThenHalve, 100, 1},
        {10000, 1, 100, 100, Smooth, 100, 1}, // a thin picture keeps one pixel
        {1, 60000, 100, 100, Smooth, 1, 100},
        {0, 0, 100, 100, None, 0, 0}, // nothing to fit
        {640, 480, 0, 100, None, 640, 480},
        {640, 480, 100, -1, None, 640, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pictureWidth) + "x" + std::to_string(c.pictureHeight) + " into " +
                     std::to_string(c.areaWidth) + "x" + std::to_string(c.areaHeight));
        const PreviewFit fit = ChoosePreviewFit(c.pictureWidth, c.pictureHeight, c.areaWidth, c.areaHeight);
        EXPECT_EQ(fit.scaling, c.scaling);
        EXPECT_EQ(fit.width, c.width);
        EXPECT_EQ(fit.height, c.height);
    }
}

TEST(PreviewFit, FittingScalesThePictureItself)
{
    CPicture large;
    Stripe(large, 400, 200);
    ASSERT_TRUE(FitPictureToPreview(large, 100, 100));
    EXPECT_EQ(large.Width(), 100);
    EXPECT_EQ(large.Height(), 50);
    // Nearest neighbour to 200 x 100 keeps every other column of the 400 stripes (all black),
    // then halving averages black with black.
    uint8_t pixel[3];
    ASSERT_TRUE(large.GetPixel(50, 25, pixel));
    EXPECT_EQ(pixel[0], 0);

    CPicture medium;
    Stripe(medium, 150, 150);
    ASSERT_TRUE(FitPictureToPreview(medium, 100, 100));
    EXPECT_EQ(medium.Width(), 100);
    EXPECT_EQ(medium.Height(), 100);
    // Smooth scaling averages the stripes to a grey.
    ASSERT_TRUE(medium.GetPixel(50, 50, pixel));
    EXPECT_GT(pixel[0], 40);
    EXPECT_LT(pixel[0], 215);

    CPicture small;
    Stripe(small, 20, 10);
    ASSERT_TRUE(FitPictureToPreview(small, 100, 100));
    EXPECT_EQ(small.Width(), 20);
    ASSERT_TRUE(small.GetPixel(1, 0, pixel));
    EXPECT_EQ(pixel[0], 255);
}
