// Photoshop files written by ImageMagick load with their pixels, and the files this codec
// writes load in Pillow and ImageMagick with ours. Pillow is the reference decoder: ImageMagick 6
// refuses indexed files (its own too) and blends the colours of files with alpha.
#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"
#include "tests/support/reference_required.h"

using namespace rastertest;

namespace {
class PsdOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool(kMagick) || !HavePillow())
            SKIP_WITHOUT_REFERENCE("ImageMagick or Pillow missing");
    }
};
} // namespace

TEST_F(PsdOracle, FilesOfImageMagickLoad)
{
    auto source = MakeColourPicture(77, 31, true);
    const std::string ppm = TempPath("psd_src.ppm"), pam = TempPath("psd_src.pam");
    SaveNetpbm(*source, ppm);
    SaveNetpbm(*source, pam, true);
    const std::string magick(kMagick);
    struct Case {
        std::string command;
        bool alpha;
    } cases[] = {
        {magick + " " + ppm + " -compress RLE", false},
        {magick + " " + ppm + " -compress None", false},
        {magick + " " + pam + " -compress RLE", true},
        {magick + " " + ppm + " -colorspace Gray", false},
        {magick + " " + ppm + " +dither -colors 40 -type Palette", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const std::string out = TempPath("psd_ref.psd");
        ASSERT_TRUE(RunTool(c.command + " " + out));
        auto ours = LoadWith(PsdCodec(), out);
        auto reference = DecodeWithPillow(out, c.alpha);
        ASSERT_TRUE(ours);
        ASSERT_TRUE(reference);
        EXPECT_TRUE(SamePixels(*ours, *reference, c.alpha));
    }
}

TEST_F(PsdOracle, WrittenFilesLoadInImageMagick)
{
    for (int depth : {8, 24, 32})
        for (bool packBits : {true, false}) {
            SCOPED_TRACE(std::to_string(depth) + (packBits ? " packbits" : " raw"));
            auto picture = depth == 8 ? MakePalettePicture(83, 29, 8) : MakeColourPicture(83, 29, depth == 32);
            const std::string path = TempPath("psd_ours.psd");
            ASSERT_TRUE(PsdCodec().WriteFile(path, picture.get(), 0, packBits, nullptr));
            auto reference = DecodeWithPillow(path, depth == 32);
            ASSERT_TRUE(reference);
            EXPECT_TRUE(SamePixels(*picture, *reference, depth == 32));
            if (depth == 24) {
                reference = DecodeWithMagick(path, false);
                ASSERT_TRUE(reference);
                EXPECT_TRUE(SamePixels(*picture, *reference));
            }
        }
}
