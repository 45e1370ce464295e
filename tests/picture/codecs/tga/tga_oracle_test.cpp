// Targa files written by ImageMagick and netpbm load with their pixels, and the files this
// codec writes load in both with ours.
#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "picture/codecs/tga_codec.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"
#include "tests/support/reference_required.h"

using namespace rastertest;

namespace {
class TgaOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool(kMagick) || !HaveTool("ppmtotga") || !HaveTool("tgatoppm"))
            SKIP_WITHOUT_REFERENCE("ImageMagick or netpbm missing");
    }
    void TearDown() override { static_cast<CTgaCodec&>(TgaCodec()).SetTopDown(true); }
};
} // namespace

TEST_F(TgaOracle, FilesOfReferenceWritersLoad)
{
    auto source = MakeColourPicture(97, 41, true);
    const std::string ppm = TempPath("tga_src.ppm"), pam = TempPath("tga_src.pam");
    SaveNetpbm(*source, ppm);
    SaveNetpbm(*source, pam, true);
    const std::string magick(kMagick);
    struct Case {
        std::string command;
        bool alpha;
    } cases[] = {
        {magick + " " + ppm + " -compress RLE", false},
        {magick + " " + ppm + " -compress None", false},
        {magick + " " + ppm + " +dither -colors 50 -type Palette", false},
        {magick + " " + ppm + " -colorspace Gray -compress RLE", false},
        {magick + " " + pam + " -compress RLE", true},
        {magick + " " + pam + " -compress None", true},
        {magick + " " + ppm + " -flip -orient TopLeft", false},
        {"ppmtotga -rgb " + ppm + " >", false},
        {"ppmtotga -rgb -norle " + ppm + " >", false},
        {magick + " " + ppm + " +dither -colors 60 ppm:- | ppmtotga -cmap >", false},
        {magick + " " + ppm + " +dither -colors 60 ppm:- | ppmtotga -cmap -norle >", false},
        {magick + " " + ppm + " -colorspace Gray pgm:- | ppmtotga -mono >", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const std::string out = TempPath("tga_ref.tga");
        ASSERT_TRUE(RunTool(c.command + " " + out));
        auto ours = LoadWith(TgaCodec(), out);
        // ImageMagick 6 keeps the rows as stored and only records the origin; -auto-orient
        // applies it (netpbm agrees).
        auto reference = DecodeWithMagick(out, c.alpha, "-auto-orient");
        ASSERT_TRUE(ours);
        ASSERT_TRUE(reference);
        EXPECT_TRUE(SamePixels(*ours, *reference, c.alpha));
    }
}

TEST_F(TgaOracle, WrittenFilesLoadInReferenceDecoders)
{
    auto& tga = static_cast<CTgaCodec&>(TgaCodec());
    for (int depth : {8, 24, 32})
        for (bool runLength : {true, false})
            for (bool topDown : {true, false}) {
                SCOPED_TRACE(std::to_string(depth) + (runLength ? " rle" : " raw") + (topDown ? " top-down" : ""));
                auto picture = depth == 8 ? MakePalettePicture(83, 29, 8) : MakeColourPicture(83, 29, depth == 32);
                tga.SetTopDown(topDown);
                const std::string path = TempPath("tga_ours.tga"), ppm = TempPath("tga_ours.ppm");
                ASSERT_TRUE(tga.WriteFile(path, picture.get(), 0, runLength, nullptr));
                auto reference = DecodeWithMagick(path, depth == 32, "-auto-orient");
                ASSERT_TRUE(reference);
                EXPECT_TRUE(SamePixels(*picture, *reference, depth == 32));
                ASSERT_TRUE(RunTool("tgatoppm " + path + " > " + ppm));
                auto netpbm = LoadPpm(ppm);
                ASSERT_TRUE(netpbm);
                EXPECT_TRUE(SamePixels(*picture, *netpbm));
            }
}
