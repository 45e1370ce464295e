// A 12-megapixel picture with odd dimensions, decoded and compared once (slow).
#include <gtest/gtest.h>

#include <cstdio>

#include "jpeg_test_support.h"
#include "picture/picture.h"
#include "tests/support/reference_required.h"

TEST(JpegOracleLarge, TwelveMegapixelOddSize)
{
    if (!HaveTool("cjpeg") || !HaveTool("djpeg"))
        SKIP_WITHOUT_REFERENCE("cjpeg/djpeg not installed");
    const std::string folder = MakeTempFolder("large");
    const RgbImage source = MakePhotoLike(4001, 2999, 11);
    ASSERT_TRUE(WritePnm(folder + "source.ppm", source));
    for (const char* options : {"-sample 2x2 -quality 85", "-sample 2x1 -progressive -quality 90"}) {
        SCOPED_TRACE(options);
        const std::string jpeg = folder + "large.jpg";
        ASSERT_TRUE(RunQuietly(std::string("cjpeg -dct int ") + options + " -outfile " + jpeg + " " + folder + "source.ppm"));
        ASSERT_TRUE(RunQuietly("djpeg -dct int -nosmooth -outfile " + folder + "large.ppm " + jpeg));
        CPicture picture;
        ASSERT_TRUE(DecodeJpeg(ReadBytes(jpeg), picture));
        RgbImage expected;
        ASSERT_TRUE(ReadPnm(folder + "large.ppm", expected));
        const ImageDiff d = CompareImages(FromPicture(picture), expected);
        std::printf("[ measured ] %s: max %d, mean %.4f\n", options, d.maxDiff, d.meanDiff);
        EXPECT_LE(d.maxDiff, 2);
        EXPECT_LE(d.meanDiff, 0.5);
    }
}
