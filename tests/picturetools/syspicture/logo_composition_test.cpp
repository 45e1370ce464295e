// Bringing pictures to the logo form: the resize modes, grey scale, the bar's palette and
// bands, and the settings rules that feed them.
#include <gtest/gtest.h>

#include <set>

#include "picture/picture.h"
#include "picturetools/syspicture/logo_composition.h"

namespace {
void Paint(CPicture& picture, int width, int height)
{
    ASSERT_TRUE(picture.Create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t bgr[3] = {static_cast<uint8_t>(255 * x / width), static_cast<uint8_t>(255 * y / height),
                                    static_cast<uint8_t>((x * y) % 256)};
            picture.SetPixel(x, y, bgr);
        }
}

void Fill(CPicture& picture, int width, int height, uint8_t b, uint8_t g, uint8_t r)
{
    ASSERT_TRUE(picture.Create(width, height));
    const uint8_t bgr[3] = {b, g, r};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, bgr);
}

std::array<int, 3> Pixel(const CPicture& picture, int x, int y)
{
    uint8_t bgr[3] = {};
    picture.GetPixel(x, y, bgr);
    return {bgr[0], bgr[1], bgr[2]};
}

std::array<int, 3> Entry(const LogoImage& image, int i)
{
    return {image.palette[3 * i], image.palette[3 * i + 1], image.palette[3 * i + 2]};
}

LogoImage Compose(CPicture& picture, const LogoRequest& request)
{
    const std::vector<uint8_t> file = ComposeLogoFile(picture, request, nullptr);
    auto image = DecodeLogoBmp(file);
    EXPECT_TRUE(image) << "the composed file reads back";
    return image ? *image : LogoImage{};
}

const std::array<int, 3> kLightBlue{0xFF, 0xC4, 0x00}; // blue, green, red of 0xFFC400
const std::array<int, 3> kWhite{255, 255, 255};
} // namespace

TEST(LogoComposition, DefaultsGiveAHundredSixtyPictureColoursAndANinetySixEntryBand)
{
    CPicture picture;
    Paint(picture, 200, 150);
    LogoRequest request;
    request.withBar = true;
    const std::vector<uint8_t> file = ComposeLogoFile(picture, request, nullptr);
    ASSERT_EQ(file.size(), 1078u + 320 * 400);
    EXPECT_EQ(file[50], 160);
    const auto image = DecodeLogoBmp(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(Entry(*image, 160), kLightBlue);
    EXPECT_EQ(Entry(*image, 208), kWhite);
    EXPECT_EQ(Entry(*image, 255), kLightBlue);
    EXPECT_EQ(Entry(*image, 0), (std::array<int, 3>{0, 0, 0})) << "entry 0 is the background";
    std::set<int> pictureIndices;
    for (int y = 0; y < 368; ++y)
        for (int x = 0; x < 320; ++x)
            pictureIndices.insert(image->At(x, y));
    EXPECT_LT(*pictureIndices.rbegin(), 160) << "the picture keeps to its 160 colours";
    EXPECT_GT(pictureIndices.size(), 100u) << "and uses them";
    for (int y = 368; y < 400; ++y) {
        EXPECT_EQ(image->At(0, y), 255);
        EXPECT_EQ(image->At(319, y), 160);
        for (int x = 1; x < 320; ++x)
            ASSERT_LE(image->At(x, y), image->At(x - 1, y)) << "bands step down to the right at " << x;
    }
    std::set<int> band;
    for (int x = 0; x < 320; ++x)
        band.insert(image->At(x, 380));
    EXPECT_EQ(band.size(), 96u);
}

TEST(LogoComposition, OrientationChoosesTheBandsAxisAndWhichColourComesFirst)
{
    CPicture picture;
    Fill(picture, 10, 10, 0, 0, 200);
    LogoRequest request;
    request.withBar = true;
    request.settings.barColours = 10;
    request.settings.bar = {20, 30, 60, 130};
    request.orientation = BarOrientation::TopToBottom;
    const LogoImage image = Compose(picture, request);
    EXPECT_EQ(image.bandStart, 246);
    EXPECT_EQ(Entry(image, 246), kWhite) << "top to bottom starts with the second colour";
    EXPECT_EQ(Entry(image, 251), kLightBlue);
    EXPECT_EQ(image.At(20, 30), 255);
    EXPECT_EQ(image.At(59, 39), 255);
    EXPECT_EQ(image.At(59, 40), 254);
    EXPECT_EQ(image.At(20, 129), 246);
    EXPECT_LT(image.At(19, 30), 246) << "nothing outside the rectangle";
    EXPECT_LT(image.At(60, 129), 246);
    EXPECT_LT(image.At(20, 130), 246);

    CPicture again;
    Fill(again, 10, 10, 0, 0, 200);
    request.orientation = BarOrientation::RightToLeft;
    const LogoImage columns = Compose(again, request);
    EXPECT_EQ(Entry(columns, 246), kWhite);
    EXPECT_EQ(columns.At(20, 129), 255) << "right to left still numbers the bands from the left";
    EXPECT_EQ(columns.At(59, 30), 246);
}

TEST(LogoComposition, BarPaletteBlendsLinearlyBetweenItsThreeFixedEntries)
{
    std::vector<uint8_t> palette(256 * 3, 7);
    const uint8_t a[3] = {0, 100, 200}, b[3] = {100, 0, 250};
    FillBarPalette(palette, 8, a, b); // entries 248 = a, 252 = b, 255 = a
    EXPECT_EQ(palette[3 * 247], 7) << "entries below the bar are left alone";
    EXPECT_EQ(palette[3 * 249 + 0], 25);
    EXPECT_EQ(palette[3 * 249 + 1], 75);
    EXPECT_EQ(palette[3 * 249 + 2], 212); // 200 + 50 / 4 = 212.5, truncated
    EXPECT_EQ(palette[3 * 252 + 0], 100);
    EXPECT_EQ(palette[3 * 253 + 0], 66);  // 100 - 100 / 3
    EXPECT_EQ(palette[3 * 255 + 2], 200);
}

TEST(LogoComposition, TheLastBandAbsorbsRoundingUpToTheFarEdge)
{
    LogoImage image;
    image.width = 40;
    image.height = 4;
    image.indices.assign(160, 0);
    DrawBarBands(image, {1, 0, 38, 4}, 7, BarOrientation::LeftToRight);
    EXPECT_EQ(image.At(0, 0), 0);
    EXPECT_EQ(image.At(1, 3), 255);
    EXPECT_EQ(image.At(37, 2), 249);
    EXPECT_EQ(image.At(38, 2), 0);
    for (int x = 1; x < 38; ++x)
        EXPECT_GE(image.At(x, 0), 249) << x;
}

TEST(LogoComposition, ResizeModesPlaceThePictureOnTheCanvas)
{
    CPicture normal;
    Fill(normal, 20, 10, 0, 0, 255);
    ASSERT_TRUE(FitToLogo(normal, ResizeMode::Normal, 0x00FF00, nullptr));
    ASSERT_EQ(normal.Width(), 320);
    ASSERT_EQ(normal.Height(), 400);
    EXPECT_EQ(Pixel(normal, 150, 195), (std::array<int, 3>{0, 0, 255})) << "centred at (160, 200)";
    EXPECT_EQ(Pixel(normal, 169, 204), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(Pixel(normal, 149, 195), (std::array<int, 3>{0, 255, 0})) << "background colour around";
    EXPECT_EQ(Pixel(normal, 170, 205), (std::array<int, 3>{0, 255, 0}));

    CPicture wide;
    Fill(wide, 100, 50, 9, 9, 9);
    ASSERT_TRUE(FitToLogo(wide, ResizeMode::BestFit, 0xFFFFFF, nullptr));
    EXPECT_EQ(Pixel(wide, 0, 120), (std::array<int, 3>{9, 9, 9})) << "320 x 160 at (0, 120)";
    EXPECT_EQ(Pixel(wide, 319, 279), (std::array<int, 3>{9, 9, 9}));
    EXPECT_EQ(Pixel(wide, 0, 119), kWhite);
    EXPECT_EQ(Pixel(wide, 0, 280), kWhite);

    CPicture tile;
    Paint(tile, 100, 90);
    CPicture original;
    Paint(original, 100, 90);
    ASSERT_TRUE(FitToLogo(tile, ResizeMode::Mosaic, 0, nullptr));
    EXPECT_EQ(Pixel(tile, 0, 0), Pixel(original, 0, 0));
    EXPECT_EQ(Pixel(tile, 317, 395), Pixel(original, 17, 35));

    CPicture stretched;
    Fill(stretched, 3, 3, 1, 2, 3);
    ASSERT_TRUE(FitToLogo(stretched, ResizeMode::Stretch, 0, nullptr));
    EXPECT_EQ(stretched.Width(), 320);
    EXPECT_EQ(Pixel(stretched, 319, 399), (std::array<int, 3>{1, 2, 3}));

    CPicture sliver;
    Fill(sliver, 2000, 1, 5, 5, 5);
    ASSERT_TRUE(FitToLogo(sliver, ResizeMode::BestFit, 0, nullptr)) << "keeps at least one row";
    EXPECT_EQ(Pixel(sliver, 160, 200), (std::array<int, 3>{5, 5, 5}));
}

TEST(LogoComposition, GreyScaleWithoutTheBarKeepsTheGreyPalette)
{
    CPicture picture;
    Paint(picture, 64, 64);
    LogoRequest request;
    request.settings.dithering = DitheringMode::GreyScale;
    const LogoImage image = Compose(picture, request);
    ASSERT_EQ(image.width, 320);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Entry(image, i), (std::array<int, 3>{i, i, i})) << i;
}

TEST(LogoComposition, WithoutTheBarEveryIndexIsThePicturesAndTheBackgroundIsEntryZero)
{
    CPicture picture;
    Fill(picture, 10, 10, 50, 60, 70);
    LogoRequest request;
    request.settings.resizeMode = ResizeMode::Normal;
    request.settings.backgroundColour = 0x102030;
    const LogoImage image = Compose(picture, request);
    EXPECT_EQ(Entry(image, 0), (std::array<int, 3>{0x10, 0x20, 0x30}));
    EXPECT_EQ(image.At(0, 0), 0);
    EXPECT_EQ(Entry(image, image.At(160, 200)), (std::array<int, 3>{50, 60, 70}));
}

TEST(SysPictureRules, StoredAndTypedValuesOutsideTheirRangesFallBack)
{
    EXPECT_EQ(ResizeModeFromStored(3), ResizeMode::Mosaic);
    EXPECT_EQ(ResizeModeFromStored(4), ResizeMode::Stretch);
    EXPECT_EQ(ResizeModeFromStored(-1), ResizeMode::Stretch);
    EXPECT_EQ(DitheringFromStored(2), DitheringMode::GreyScale);
    EXPECT_EQ(DitheringFromStored(3), DitheringMode::ErrorDiffusion);
    EXPECT_EQ(BarColoursFromStored(255), 255);
    EXPECT_EQ(BarColoursFromStored(256), 96);
    EXPECT_EQ(BarColoursFromStored(-1), 96);
    EXPECT_EQ(BarColoursFromEdit(257), 96);
    EXPECT_EQ(BarColoursFromEdit(-3), 96);
    EXPECT_EQ(BarColoursFromEdit(0), 2) << "no band cannot be drawn";
    EXPECT_EQ(BarColoursFromEdit(256), 254) << "the picture keeps two colours";
    EXPECT_EQ(BarColoursFromEdit(50), 50);
}

TEST(SysPictureRules, AReversedRectangleIsSwappedAndKeptInsideThePicture)
{
    EXPECT_EQ(NormaliseBarRect({300, 390, 10, 350}), (BarRect{10, 350, 300, 390}));
    EXPECT_EQ(NormaliseBarRect({-5, -1, 400, 500}), (BarRect{0, 0, 320, 400}));
    EXPECT_EQ(NormaliseBarRect({500, 0, 330, 10}), (BarRect{320, 0, 320, 10})) << "empty, never outside";
}
