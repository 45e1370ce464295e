// Decoding files made by libjpeg-turbo (linked, and its cjpeg) and by ImageMagick, checked
// against libjpeg-turbo's own decode without fancy upsampling (djpeg -dct int -nosmooth).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "jpeg_test_support.h"
#include "libjpeg_reference.h"
#include "picture/picture.h"
#include "tests/support/reference_required.h"

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
            SKIP_WITHOUT_REFERENCE("cjpeg/djpeg not installed");
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

    // Decodes in-memory JPEG bytes with the codec and with the linked library.
    void CheckBytes(const std::vector<uint8_t>& jpeg, const std::string& name, bool grey)
    {
        SCOPED_TRACE(name);
        ASSERT_FALSE(jpeg.empty());
        CPicture picture;
        ASSERT_TRUE(DecodeJpeg(jpeg, picture)) << "decode failed";
        EXPECT_EQ(picture.BitsPerPixel(), grey ? 8 : 24);
        RgbImage expected;
        ASSERT_TRUE(LibjpegDecode(jpeg, expected));
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

TEST_F(JpegOracle, LibjpegSamplingsModesRestartsAndTables)
{
    struct Sampling { const char* name; int h, v; bool grey; };
    const Sampling samplings[] = {{"444", 1, 1, false}, {"422", 2, 1, false}, {"420", 2, 2, false},
                                  {"440", 1, 2, false}, {"grey", 1, 1, true}};
    struct Mode { const char* name; int quality; bool progressive, optimize; int rows, blocks; };
    const Mode modes[] = {{"baseline", 75, false, false, 0, 0},    {"optimised-restart", 75, false, true, 1, 0},
                          {"progressive", 75, true, false, 0, 0},  {"progressive-restart", 92, true, true, 0, 3},
                          {"extended", 30, false, true, 0, 7}};
    const int sizes[][2] = {{1, 1}, {17, 9}, {67, 45}, {203, 130}};
    for (const auto& size : sizes) {
        const RgbImage source = MakePhotoLike(size[0], size[1], 7);
        for (const Sampling& sampling : samplings)
            for (const Mode& mode : modes) {
                LibjpegEncodeOptions options;
                options.quality = mode.quality;
                options.hSampling = sampling.h;
                options.vSampling = sampling.v;
                options.grey = sampling.grey;
                options.progressive = mode.progressive;
                options.optimize = mode.optimize;
                options.restartRows = mode.rows;
                options.restartBlocks = mode.blocks;
                const std::string name = std::to_string(size[0]) + "x" + std::to_string(size[1]) + "-" +
                                         sampling.name + "-" + mode.name;
                CheckBytes(LibjpegEncode(source, options), name, sampling.grey);
            }
    }
    Report();
}

TEST_F(JpegOracle, CjpegFiles)
{
    const RgbImage source = MakePhotoLike(67, 45, 5);
    const std::string ppm = m_folder + "source.ppm";
    ASSERT_TRUE(WritePnm(ppm, source));
    const char* samplings[][2] = {{"444", "-sample 1x1"}, {"422", "-sample 2x1"}, {"420", "-sample 2x2"},
                                  {"440", "-sample 1x2"}, {"grey", "-grayscale"}};
    for (const auto& sampling : samplings)
        for (const char* mode : {"-optimize", "-progressive -restart 2"}) {
            const std::string name = std::string(sampling[0]) + (mode[1] == 'o' ? "-sequential" : "-progressive");
            const std::string jpeg = m_folder + name + ".jpg";
            ASSERT_TRUE(RunQuietly(std::string("cjpeg -dct int ") + sampling[1] + " " + mode + " -outfile " + jpeg +
                                   " " + ppm));
            CheckFile(jpeg, name, sampling[0] == std::string("grey"));
        }
    Report();
}

TEST_F(JpegOracle, ImageMagickFiles)
{
    if (!HaveTool(kImageMagick))
        SKIP_WITHOUT_REFERENCE("ImageMagick not installed");
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

TEST_F(JpegOracle, GreyFileGivesGreyPalette)
{
    LibjpegEncodeOptions options;
    options.grey = true;
    CPicture picture;
    ASSERT_TRUE(DecodeJpeg(LibjpegEncode(MakePhotoLike(20, 20, 1), options), picture));
    EXPECT_EQ(picture.BitsPerPixel(), 8);
    ASSERT_EQ(picture.PaletteSize(), 256u);
    uint8_t entry[3];
    for (unsigned i = 0; i < 256; i += 51) {
        ASSERT_TRUE(picture.GetPaletteEntry(i, entry));
        EXPECT_EQ(entry[0], i);
        EXPECT_EQ(entry[2], i);
    }
}

TEST_F(JpegOracle, RestartMarkersOutOfSequenceFail)
{
    LibjpegEncodeOptions options;
    options.restartBlocks = 1;
    std::vector<uint8_t> bytes = LibjpegEncode(MakePhotoLike(64, 32, 2), options);
    size_t rst = 0;
    for (size_t i = bytes.size() / 3; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7) {
            rst = i;
            break;
        }
    ASSERT_NE(rst, 0u);
    bytes[rst + 1] = static_cast<uint8_t>(0xD0 + ((bytes[rst + 1] - 0xD0 + 3) & 7));
    CPicture picture;
    EXPECT_FALSE(DecodeJpeg(bytes, picture));
    EXPECT_EQ(picture.Width(), 64); // what came before the bad marker is kept
}

TEST_F(JpegOracle, TruncatedProgressiveKeepsTheScansRead)
{
    const RgbImage source = MakePhotoLike(96, 64, 8);
    LibjpegEncodeOptions options;
    options.progressive = true;
    options.hSampling = options.vSampling = 1;
    const std::vector<uint8_t> bytes = LibjpegEncode(source, options);
    std::vector<size_t> scans;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA)
            scans.push_back(i);
    ASSERT_GE(scans.size(), 6u);
    CPicture full;
    ASSERT_TRUE(DecodeJpeg(bytes, full));
    double previous = 0;
    for (size_t kept : {size_t(1), size_t(3), size_t(6)}) {
        // Cut right before scan `kept` (so `kept` scans are complete).
        const std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + long(scans[kept]));
        CPicture picture;
        EXPECT_FALSE(DecodeJpeg(truncated, picture));
        ASSERT_EQ(picture.Width(), 96);
        ASSERT_EQ(picture.Height(), 64);
        const double psnr = Psnr(FromPicture(picture), source);
        EXPECT_GT(psnr, 15.0) << kept << " scans";
        EXPECT_GE(psnr, previous - 0.01) << "more scans never look worse";
        previous = psnr;
    }
    EXPECT_GT(Psnr(FromPicture(full), source), previous);
}
