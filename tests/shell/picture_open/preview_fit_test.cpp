// Fitting pictures into the preview area of the picture open dialog.
#include "shell/picture_open/preview_fit.h"

#include <gtest/gtest.h>

#include "picture/picture.h"

namespace {
void ExpectFit(const PreviewFit& fit, PreviewScaling scaling, int width, int height)
{
    EXPECT_EQ(fit.scaling, scaling);
    EXPECT_EQ(fit.width, width);
    EXPECT_EQ(fit.height, height);
}

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

TEST(PreviewFit, PicturesThatFitAreShownAsTheyAre)
{
    ExpectFit(ChoosePreviewFit(100, 50, 100, 50), PreviewScaling::None, 100, 50);
    ExpectFit(ChoosePreviewFit(10, 10, 200, 100), PreviewScaling::None, 10, 10);
}

TEST(PreviewFit, TheSmallerRatioDecidesAndProportionsAreKept)
{
    // Wide picture: the width limits.
    ExpectFit(ChoosePreviewFit(300, 100, 200, 200), PreviewScaling::Smooth, 200, 67);
    // Tall picture: the height limits.
    ExpectFit(ChoosePreviewFit(100, 200, 200, 150), PreviewScaling::Smooth, 75, 150);
}

TEST(PreviewFit, NearestThenHalveOnlyWhenTwiceTheFittedSizeBothWays)
{
    ExpectFit(ChoosePreviewFit(400, 400, 200, 200), PreviewScaling::NearestThenHalve, 200, 200);
    ExpectFit(ChoosePreviewFit(399, 399, 200, 200), PreviewScaling::Smooth, 200, 200);
    // 800 x 300 into 200 x 200: fitted 200 x 75, and 300 >= 150 as well.
    ExpectFit(ChoosePreviewFit(800, 300, 200, 200), PreviewScaling::NearestThenHalve, 200, 75);
    // 1000 x 10 into 100 x 100: fitted 100 x 1, twice the height (2) is reached too.
    ExpectFit(ChoosePreviewFit(1000, 10, 100, 100), PreviewScaling::NearestThenHalve, 100, 1);
}

TEST(PreviewFit, AThinPictureKeepsAtLeastOnePixel)
{
    ExpectFit(ChoosePreviewFit(10000, 1, 100, 100), PreviewScaling::Smooth, 100, 1);
    ExpectFit(ChoosePreviewFit(1, 60000, 100, 100), PreviewScaling::Smooth, 1, 100);
}

TEST(PreviewFit, EmptyPictureOrAreaIsLeftAlone)
{
    ExpectFit(ChoosePreviewFit(0, 0, 100, 100), PreviewScaling::None, 0, 0);
    ExpectFit(ChoosePreviewFit(640, 480, 0, 100), PreviewScaling::None, 640, 480);
    ExpectFit(ChoosePreviewFit(640, 480, 100, -1), PreviewScaling::None, 640, 480);
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
