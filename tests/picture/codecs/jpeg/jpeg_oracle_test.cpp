// Decoding files made by libjpeg-turbo's cjpeg and by ImageMagick, checked against
// libjpeg-turbo's own decode without fancy upsampling (djpeg -dct int -nosmooth).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "jpeg_test_support.h"
#include "picture/picture.h"

namespace {
const char kImageMagick[] = "/usr/bin/convert-im6.q16";

struct Worst {
    int maxDiff = 0;
    double meanDiff = 0;
    std::string where;
    void Note(const ImageDiff& d, const std::string& name)
    {
        if (d.maxDiff > maxDiff || d.meanDiff > meanDiff)
            where = name;
        maxDiff = std::max(maxDiff, d.maxDiff);
        meanDiff = std::max(meanDiff, d.meanDiff);
    }
};

class JpegOracle : public testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("cjpeg") || !HaveTool("djpeg"))
            GTEST_SKIP() << "cjpeg/djpeg not installed";
        m_folder = MakeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // Decodes `jpeg` with the codec and with djpeg; both must succeed and agree.
    void CheckFile(const std::string& jpeg, const std::string& name, bool grey)
    {
        SCOPED_TRACE(name);
        CPicture picture;
        ASSERT_TRUE(DecodeJpeg(ReadBytes(jpeg), picture)) << "decode failed";
        EXPECT_EQ(picture.BitsPerPixel(), grey ? 8 : 24);
        const std::string reference = jpeg + ".pnm";
        ASSERT_TRUE(RunQuietly("djpeg -dct int -nosmooth -outfile " + reference + " " + jpeg));
        RgbImage expected;
        ASSERT_TRUE(ReadPnm(reference, expected));
        const ImageDiff d = CompareImages(FromPicture(picture), expected);
        EXPECT_LE(d.maxDiff, 2);
        EXPECT_LE(d.meanDiff, 0.5);
        m_worst.Note(d, name);
    }

    void Report()
    {
        std::printf("[ measured ] worst max channel difference %d, worst mean %.4f (%s)\n", m_worst.maxDiff,
                    m_worst.meanDiff, m_worst.where.c_str());
    }

    std::string m_folder;
    Worst m_worst;
};
} // namespace

TEST_F(JpegOracle, CjpegSamplingsModesRestartsAndTables)
{
    const char* samplings[][2] = {{"444", "-sample 1x1"}, {"422", "-sample 2x1"}, {"420", "-sample 2x2"},
                                  {"440", "-sample 1x2"}, {"grey", "-grayscale"}};
    const char* modes[][2] = {{"baseline", ""},
                              {"optimised-restart", "-optimize -restart 1"},
                              {"progressive", "-progressive"},
                              {"progressive-restart", "-progressive -restart 3B -quality 92"},
                              {"extended", "-quality 30 -optimize -restart 7B"}};
    const int sizes[][2] = {{1, 1}, {17, 9}, {67, 45}, {203, 130}};
    for (const auto& size : sizes) {
        const RgbImage source = MakePhotoLike(size[0], size[1], 7);
        const std::string ppm = m_folder + "source.ppm";
        ASSERT_TRUE(WritePnm(ppm, source));
        for (const auto& sampling : samplings)
            for (const auto& mode : modes) {
                const std::string name = std::to_string(size[0]) + "x" + std::to_string(size[1]) + "-" + sampling[0] +
                                         "-" + mode[0];
                const std::string jpeg = m_folder + name + ".jpg";
                ASSERT_TRUE(RunQuietly(std::string("cjpeg -dct int ") + sampling[1] + " " + mode[1] + " -outfile " +
                                       jpeg + " " + ppm));
                CheckFile(jpeg, name, sampling[0] == std::string("grey"));
            }
    }
    Report();
}

TEST_F(JpegOracle, ImageMagickFiles)
{
    if (!HaveTool(kImageMagick))
        GTEST_SKIP() << "ImageMagick not installed";
    const RgbImage source = MakePhotoLike(150, 97, 3);
    const std::string ppm = m_folder + "source.ppm";
    ASSERT_TRUE(WritePnm(ppm, source));
    const char* options[][2] = {{"im-420", "-sampling-factor 2x2 -quality 85"},
                                {"im-444", "-sampling-factor 1x1 -quality 95"},
                                {"im-422-progressive", "-sampling-factor 2x1 -interlace JPEG -quality 75"},
                                {"im-grey", "-colorspace Gray -quality 80"}};
    for (const auto& option : options) {
        const std::string jpeg = m_folder + option[0] + ".jpg";
        ASSERT_TRUE(RunQuietly(std::string(kImageMagick) + " " + ppm + " " + option[1] + " " + jpeg));
        CheckFile(jpeg, option[0], option[0] == std::string("im-grey"));
    }
    Report();
}
