// PCX files written by ImageMagick and netpbm load with their pixels, and the files this codec
// writes load in both with ours.
#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"
#include "tests/support/reference_required.h"

using namespace rastertest;

namespace {
class PcxOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool(kMagick) || !HaveTool("ppmtopcx") || !HaveTool("pcxtoppm"))
            SKIP_WITHOUT_REFERENCE("ImageMagick or netpbm missing");
    }
};
} // namespace

TEST_F(PcxOracle, FilesOfReferenceWritersLoad)
{
    auto source = MakeColourPicture(99, 37);
    const std::string ppm = TempPath("pcx_src.ppm");
    SaveNetpbm(*source, ppm);
    const std::string magick(kMagick);
    const std::string cases[] = {
        magick + " " + ppm,
        magick + " " + ppm + " +dither -colors 100 -type Palette",
        magick + " " + ppm + " +dither -colors 16 -type Palette",
        magick + " " + ppm + " -monochrome",
        "ppmtopcx " + ppm + " >",
        "ppmtopcx -24bit " + ppm + " >",
        magick + " " + ppm + " +dither -colors 200 ppm:- | ppmtopcx -8bit >",
        magick + " " + ppm + " +dither -colors 12 ppm:- | ppmtopcx >",
        magick + " " + ppm + " +dither -colors 12 ppm:- | ppmtopcx -packed >",
        magick + " " + ppm + " +dither -colors 4 ppm:- | ppmtopcx -packed >",
        magick + " " + ppm + " -monochrome ppm:- | ppmtopcx >",
    };
    for (const std::string& command : cases) {
        SCOPED_TRACE(command);
        const std::string out = TempPath("pcx_ref.pcx");
        ASSERT_TRUE(RunTool(command + " " + out));
        auto ours = LoadWith(PcxCodec(), out);
        // netpbm is the reference: ImageMagick 6 shows two-colour files inverted, ignoring
        // their palette.
        const std::string ppm = TempPath("pcx_ref.ppm");
        ASSERT_TRUE(RunTool("pcxtoppm " + out + " > " + ppm));
        auto reference = LoadPpm(ppm);
        ASSERT_TRUE(ours);
        ASSERT_TRUE(reference);
        EXPECT_TRUE(SamePixels(*ours, *reference));
    }
}

TEST_F(PcxOracle, WrittenFilesLoadInReferenceDecoders)
{
    for (int depth : {4, 8, 24})
        for (int width : {83, 84}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
            auto picture = depth <= 8 ? MakePalettePicture(width, 29, depth) : MakeColourPicture(width, 29);
            const std::string path = TempPath("pcx_ours.pcx"), ppm = TempPath("pcx_ours.ppm");
            ASSERT_TRUE(PcxCodec().WriteFile(path, picture.get(), 0, false, nullptr));
            auto reference = DecodeWithMagick(path, false);
            ASSERT_TRUE(reference);
            EXPECT_TRUE(SamePixels(*picture, *reference));
            ASSERT_TRUE(RunTool("pcxtoppm " + path + " > " + ppm));
            auto netpbm = LoadPpm(ppm);
            ASSERT_TRUE(netpbm);
            EXPECT_TRUE(SamePixels(*picture, *netpbm));
        }
}
