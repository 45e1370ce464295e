// TIFF files written by libtiff, ImageMagick and netpbm load with their pixels, and the files
// this codec writes load in ImageMagick and netpbm with ours.
#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"
#include "tests/support/reference_required.h"

using namespace rastertest;

namespace {

void ExpectLoadsLikeMagick(const std::string& path, bool alpha = false)
{
    SCOPED_TRACE(path);
    auto ours = LoadWith(TifCodec(), path);
    auto reference = DecodeWithMagick(path, alpha);
    ASSERT_TRUE(ours);
    ASSERT_TRUE(reference);
    EXPECT_TRUE(SamePixels(*ours, *reference, alpha));
}

class TiffOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("tiffcp") || !HaveTool(kMagick) || !HaveTool("pnmtotiff"))
            SKIP_WITHOUT_REFERENCE("libtiff, ImageMagick or netpbm tools missing");
    }
};

} // namespace

TEST_F(TiffOracle, LibtiffCompressionsAndByteOrdersLoad)
{
    auto source = MakeColourPicture(301, 97);
    const std::string ppm = TempPath("tiff_src.ppm"), base = TempPath("tiff_base.tif");
    SaveNetpbm(*source, ppm);
    ASSERT_TRUE(RunTool("pnmtotiff " + ppm + " > " + base));
    for (const char* options : {"-c none", "-c lzw", "-c lzw:2", "-c packbits", "-B -c lzw:2", "-B -c packbits",
                                "-c lzw:2 -r 7", "-c lzw -r 1"}) {
        SCOPED_TRACE(options);
        const std::string out = TempPath("tiff_cp.tif");
        ASSERT_TRUE(RunTool(std::string("tiffcp ") + options + " " + base + " " + out));
        auto ours = LoadWith(TifCodec(), out);
        ASSERT_TRUE(ours);
        EXPECT_TRUE(SamePixels(*ours, *source));
    }
}

TEST_F(TiffOracle, PaletteGreyBilevelAndAlphaFilesLoad)
{
    auto source = MakeColourPicture(123, 45, true);
    const std::string pam = TempPath("tiff_src.pam"), ppm = TempPath("tiff_src2.ppm");
    SaveNetpbm(*source, pam, true);
    SaveNetpbm(*source, ppm);
    struct Case {
        const char* name;
        std::string command;
        bool alpha;
    } cases[] = {
        {"palette16.tif", std::string(kMagick) + " " + ppm + " +dither -colors 16 -type Palette", false},
        {"palette256.tif", std::string(kMagick) + " " + ppm + " +dither -colors 200 -type Palette -compress lzw", false},
        {"grey8.tif", std::string(kMagick) + " " + ppm + " -colorspace Gray -depth 8 -compress lzw", false},
        {"grey4.tif", std::string(kMagick) + " " + ppm + " -colorspace Gray -depth 4", false},
        {"mono.tif", std::string(kMagick) + " " + ppm + " -monochrome", false},
        {"rgba.tif", std::string(kMagick) + " " + pam + " -compress lzw", true},
        {"rgba_packbits.tif", std::string(kMagick) + " " + pam + " -alpha on -compress rle", true},
    };
    for (const Case& c : cases) {
        const std::string out = TempPath(c.name);
        ASSERT_TRUE(RunTool(c.command + " " + out)) << c.name;
        ExpectLoadsLikeMagick(out, c.alpha);
    }
    // netpbm: grey and bilevel (white is zero) files.
    const std::string pgm = TempPath("tiff_src.pgm"), pbm = TempPath("tiff_src.pbm");
    ASSERT_TRUE(RunTool("ppmtopgm " + ppm + " > " + pgm + " && pgmtopbm " + pgm + " > " + pbm));
    for (const std::string& input : {pgm, pbm}) {
        const std::string out = TempPath("tiff_netpbm.tif");
        ASSERT_TRUE(RunTool("pnmtotiff " + input + " > " + out));
        ExpectLoadsLikeMagick(out);
        ASSERT_TRUE(RunTool("pnmtotiff -lzw " + input +
                        " > " + out));
        ExpectLoadsLikeMagick(out);
    }
}

TEST_F(TiffOracle, OnlyTheFirstImageOfAMultiPageFileIsRead)
{
    auto first = MakeColourPicture(40, 30), second = MakePalettePicture(70, 10, 8);
    const std::string a = TempPath("tiff_a.tif"), b = TempPath("tiff_b.tif"), both = TempPath("tiff_ab.tif");
    ASSERT_TRUE(TifCodec().WriteFile(a, first.get(), 0, true, nullptr));
    ASSERT_TRUE(TifCodec().WriteFile(b, second.get(), 0, false, nullptr));
    ASSERT_TRUE(RunTool("tiffcp " + a + " " + b + " " + both));
    auto ours = LoadWith(TifCodec(), both);
    ASSERT_TRUE(ours);
    EXPECT_TRUE(SamePixels(*ours, *first));
}

TEST_F(TiffOracle, WrittenFilesLoadInReferenceDecoders)
{
    for (int depth : {1, 4, 8, 24, 32}) {
        for (bool packBits : {true, false}) {
            SCOPED_TRACE("depth " + std::to_string(depth) + (packBits ? " packbits" : " raw"));
            auto picture = depth <= 8 ? MakePalettePicture(77, 23, depth) : MakeColourPicture(77, 23, depth == 32);
            const std::string path = TempPath("tiff_ours.tif");
            ASSERT_TRUE(TifCodec().WriteFile(path, picture.get(), 0, packBits, nullptr));
            auto reference = DecodeWithMagick(path, depth == 32);
            ASSERT_TRUE(reference);
            EXPECT_TRUE(SamePixels(*picture, *reference, depth == 32));
            if (depth != 32) {
                const std::string ppm = TempPath("tiff_ours.ppm");
                ASSERT_TRUE(RunTool("tifftopnm " + path + " | ppmtoppm > " + ppm));
                auto netpbm = LoadPpm(ppm);
                ASSERT_TRUE(netpbm);
                EXPECT_TRUE(SamePixels(*picture, *netpbm));
            }
            ASSERT_TRUE(RunTool("tiffinfo -D " + path + " > /dev/null")); // libtiff reads every strip
        }
    }
}
