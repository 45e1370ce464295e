// Tabs of the picture viewer and the picture each tab shows.
#include <gtest/gtest.h>

#include <array>

#include "base/text.h"
#include "picture/picture.h"
#include "shell/viewer/viewer_pages.h"

namespace {
std::vector<std::string> Labels(bool hasAlpha)
{
    std::vector<std::string> labels;
    for (const ViewerTab& tab : ViewerTabsFor(hasAlpha))
        labels.push_back(LoadText(tab.labelId));
    return labels;
}

// 20 x 12 pixels: blue = x * 10, green = y * 20, red = 200; alpha = x * 12 (0 at the left).
std::unique_ptr<CPicture> Sample(bool alpha)
{
    auto result = std::make_unique<CPicture>();
    CPicture& picture = *result;
    EXPECT_TRUE(picture.Create(20, 12));
    if (alpha)
        picture.SetBitsPerPixel(32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const uint8_t bgr[3] = {uint8_t(x * 10), uint8_t(y * 20), 200};
            picture.SetPixel(x, y, bgr);
            if (alpha)
                picture.SetAlpha(x, y, x * 12);
        }
    return result;
}

std::array<int, 3> Pixel(const CPicture& picture, int x, int y)
{
    uint8_t bgr[3];
    picture.GetPixel(x, y, bgr);
    return {bgr[0], bgr[1], bgr[2]};
}
} // namespace

TEST(ViewerTabs, AlphaTabsOnlyWithAnAlphaPlane)
{
    EXPECT_EQ(Labels(true), (std::vector<std::string>{"RGB-A", "RGB", "Red", "Green", "Blue", "Alpha", "Info"}));
    EXPECT_EQ(Labels(false), (std::vector<std::string>{"RGB", "Red", "Green", "Blue", "Info"}));
}

TEST(ViewerPages, ChannelsKeepOneComponentAndAlphaBecomesGrey)
{
    const auto sample = Sample(true);
    const CPicture& source = *sample;
    for (ViewerPage page : {ViewerPage::Rgb, ViewerPage::Red, ViewerPage::Green, ViewerPage::Blue, ViewerPage::Alpha}) {
        const auto shown = MakePagePicture(source, page);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->Width(), 20);
        EXPECT_EQ(shown->Height(), 12);
        EXPECT_FALSE(shown->HasAlpha());
        EXPECT_EQ(shown->BitsPerPixel(), 24);
    }
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Rgb), 7, 3), (std::array<int, 3>{70, 60, 200}));
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Red), 7, 3), (std::array<int, 3>{0, 0, 200}));
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Green), 7, 3), (std::array<int, 3>{0, 60, 0}));
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Blue), 7, 3), (std::array<int, 3>{70, 0, 0}));
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Alpha), 7, 3), (std::array<int, 3>{84, 84, 84}));
    // The source is untouched.
    EXPECT_EQ(Pixel(source, 7, 3), (std::array<int, 3>{70, 60, 200}));
    EXPECT_EQ(MakePagePicture(source, ViewerPage::Info), nullptr);
}

TEST(ViewerPages, RgbAlphaShowsTheCheckerboardThroughTransparency)
{
    const auto sample = Sample(true);
    const CPicture& source = *sample;
    const auto shown = MakePagePicture(source, ViewerPage::RgbAlpha);
    ASSERT_TRUE(shown);
    auto blend = [](int colour, int alpha, int back) { return (colour * alpha + back * (255 - alpha) + 127) / 255; };
    // Column 0 is fully transparent: 8 x 8 squares, white at the top-left, then light grey.
    EXPECT_EQ(Pixel(*shown, 0, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Pixel(*shown, 0, 7), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Pixel(*shown, 0, 8), (std::array<int, 3>{230, 230, 230}));
    // (9, 2) lies on a grey square with alpha 108; (8, 8) on a white one with alpha 96.
    EXPECT_EQ(Pixel(*shown, 9, 2), (std::array<int, 3>{blend(90, 108, 230), blend(40, 108, 230), blend(200, 108, 230)}));
    EXPECT_EQ(Pixel(*shown, 8, 8), (std::array<int, 3>{blend(80, 96, 255), blend(160, 96, 255), blend(200, 96, 255)}));
    // An opaque pixel keeps its colour exactly.
    auto opaque = Sample(true);
    opaque->SetAlpha(5, 5, 255);
    EXPECT_EQ(Pixel(*MakePagePicture(*opaque, ViewerPage::RgbAlpha), 5, 5), Pixel(*opaque, 5, 5));
    EXPECT_EQ(CheckerShade(8, 0), 230);
    EXPECT_EQ(CheckerShade(15, 15), 255);
}

TEST(ViewerPages, WithoutAlphaPlane)
{
    const auto sample = Sample(false);
    const CPicture& source = *sample;
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::RgbAlpha), 3, 3), Pixel(source, 3, 3));
    EXPECT_EQ(Pixel(*MakePagePicture(source, ViewerPage::Alpha), 3, 3), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(MakePagePicture(CPicture(), ViewerPage::Rgb), nullptr);
}
