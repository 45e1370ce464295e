// Our writer against libjpeg-turbo: its files decode there too, and at equal file size their
// quality is within half a decibel of `cjpeg -optimize -sample 1x1`.
#include <gtest/gtest.h>

#include <cstdio>

#include "jpeg_test_support.h"
#include "libjpeg_reference.h"
#include "picture/picture.h"
#include "tests/support/reference_required.h"

TEST(JpegWriterOracle, FilesDecodeWithLibjpegAndDjpeg)
{
    const RgbImage source = MakePhotoLike(123, 77, 9);
    CPicture picture;
    FillPicture(picture, source);
    const std::vector<uint8_t> bytes = EncodeJpeg(picture, 85);
    RgbImage theirs;
    ASSERT_TRUE(LibjpegDecode(bytes, theirs));
    CPicture ours;
    ASSERT_TRUE(DecodeJpeg(bytes, ours));
    EXPECT_LE(CompareImages(FromPicture(ours), theirs).maxDiff, 2);
    EXPECT_GT(Psnr(theirs, source), 30.0);

    if (!HaveTool("djpeg"))
        SKIP_WITHOUT_REFERENCE("djpeg not installed");
    const std::string folder = MakeTempFolder("writer");
    ASSERT_TRUE(WriteBytes(folder + "ours.jpg", bytes));
    ASSERT_TRUE(RunQuietly("djpeg -outfile " + folder + "ours.ppm " + folder + "ours.jpg"));
    RgbImage viaTool;
    ASSERT_TRUE(ReadPnm(folder + "ours.ppm", viaTool));
    EXPECT_GT(Psnr(viaTool, source), 30.0);
}

namespace {
struct Point {
    double bitsPerPixel = 0, psnr = 0;
};

Point OurPoint(const RgbImage& source, int quality)
{
    CPicture picture;
    FillPicture(picture, source);
    const std::vector<uint8_t> bytes = EncodeJpeg(picture, quality);
    CPicture decoded;
    EXPECT_TRUE(DecodeJpeg(bytes, decoded));
    return {8.0 * bytes.size() / (double(source.width) * source.height), Psnr(FromPicture(decoded), source)};
}

Point LibjpegPoint(const RgbImage& source, int quality)
{
    LibjpegEncodeOptions options;
    options.quality = quality;
    options.hSampling = options.vSampling = 1;
    options.optimize = true;
    const std::vector<uint8_t> bytes = LibjpegEncode(source, options);
    RgbImage decoded;
    EXPECT_TRUE(LibjpegDecode(bytes, decoded));
    return {8.0 * bytes.size() / (double(source.width) * source.height), Psnr(decoded, source)};
}
} // namespace

TEST(JpegWriterOracle, RateDistortionMatchesLibjpegAtEqualSize)
{
    const RgbImage source = MakePhotoLike(256, 192, 21);
    std::vector<Point> libjpeg(101); // by quality
    for (int q = 20; q <= 100; ++q)
        libjpeg[size_t(q)] = LibjpegPoint(source, q);
    for (double target : {1.0, 2.0, 4.0}) {
        // Our quality closest to the target rate.
        int low = 1, high = 100;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (OurPoint(source, mid).bitsPerPixel < target)
                low = mid + 1;
            else
                high = mid;
        }
        const Point ours = OurPoint(source, low);
        // libjpeg's qualities bracketing our size; its PSNR interpolated at our size.
        int q = 20;
        while (q < 99 && libjpeg[size_t(q) + 1].bitsPerPixel <= ours.bitsPerPixel)
            ++q;
        const Point& below = libjpeg[size_t(q)];
        const Point& above = libjpeg[size_t(q) + 1];
        ASSERT_LE(below.bitsPerPixel, ours.bitsPerPixel);
        ASSERT_GE(above.bitsPerPixel, ours.bitsPerPixel);
        const double theirs = below.psnr + (above.psnr - below.psnr) * (ours.bitsPerPixel - below.bitsPerPixel) /
                                               (above.bitsPerPixel - below.bitsPerPixel);
        std::printf("[ measured ] %.2f bpp: ours %.2f dB (quality %d), libjpeg %.2f dB (quality %d..%d)\n",
                    ours.bitsPerPixel, ours.psnr, low, theirs, q, q + 1);
        EXPECT_GE(ours.psnr, theirs - 0.5) << "at " << ours.bitsPerPixel << " bpp";
    }
}
