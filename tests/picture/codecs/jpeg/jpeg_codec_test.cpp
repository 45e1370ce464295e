// The JPEG codec on its own: writer layout and tables, round trips, and how damaged or
// unsupported streams fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/progress.h"
#include "jpeg_test_support.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_encoder.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace {
// Offset of the first marker FF `code` in a stream, or npos.
size_t FindMarker(const std::vector<uint8_t>& bytes, uint8_t code)
{
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == code)
            return i;
    return std::string::npos;
}

// The decoder's message for a stream, or an empty text when it decodes.
std::string DecodeError(const std::vector<uint8_t>& bytes, CPicture* picture = nullptr)
{
    CPicture local;
    JpegSource source{bytes.data(), bytes.size(), 0};
    CJpegDecoder decoder(source, picture ? picture : &local, CQnProgress::Silent());
    try {
        decoder.Decode();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::vector<uint8_t> EncodedSample(int width = 40, int height = 24, int quality = 80)
{
    CPicture picture;
    FillPicture(picture, MakePhotoLike(width, height, 1));
    return EncodeJpeg(picture, quality);
}

// The 64 bytes of quantization table `index` written by the encoder, zigzag order.
std::vector<uint8_t> WrittenTable(const std::vector<uint8_t>& bytes, int index)
{
    const size_t dqt = FindMarker(bytes, kJpegDqt);
    if (dqt == std::string::npos)
        return {};
    const size_t start = dqt + 4 + size_t(index) * 65;
    EXPECT_EQ(bytes[start], index);
    return std::vector<uint8_t>(bytes.begin() + long(start + 1), bytes.begin() + long(start + 65));
}

class CancellingProgress : public CQnProgress {
public:
    bool SetPos(int64_t position, bool redraw = true) override
    {
        CQnProgress::SetPos(position, redraw);
        return ++m_calls < 3;
    }

private:
    int m_calls = 0;
};
} // namespace

TEST(JpegWriter, QualityScalesTheReferenceTables)
{
    const std::vector<uint8_t> q50 = EncodedSample(16, 16, 50);
    std::vector<uint8_t> luma(64), chroma(64);
    for (int k = 0; k < 64; ++k) {
        luma[size_t(k)] = kJpegLuminanceQuantization[kJpegZigzagToNatural[k]];
        chroma[size_t(k)] = kJpegChrominanceQuantization[kJpegZigzagToNatural[k]];
    }
    EXPECT_EQ(WrittenTable(q50, 0), luma);
    EXPECT_EQ(WrittenTable(q50, 1), chroma);
    EXPECT_EQ(WrittenTable(EncodedSample(16, 16, 100), 0), std::vector<uint8_t>(64, 1));
    EXPECT_EQ(WrittenTable(EncodedSample(16, 16, 1), 1), std::vector<uint8_t>(64, 255));
    // Out-of-range options are brought into 1..100 at write time.
    EXPECT_EQ(WrittenTable(EncodedSample(16, 16, 0), 0), WrittenTable(EncodedSample(16, 16, 1), 0));
    EXPECT_EQ(WrittenTable(EncodedSample(16, 16, 250), 0), std::vector<uint8_t>(64, 1));
    EXPECT_THROW(JpegScaledQuantTable(kJpegLuminanceQuantization, 101), EJpegValueOutOfRange);
}

TEST(JpegWriter, StreamLayout)
{
    const std::vector<uint8_t> bytes = EncodedSample(21, 13);
    ASSERT_GT(bytes.size(), 200u);
    const uint8_t jfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(0, std::memcmp(bytes.data(), jfif, sizeof jfif));
    const std::string comment = "Created using Ostrel IMKO";
    ASSERT_EQ(FindMarker(bytes, kJpegCom), sizeof jfif);
    EXPECT_EQ(bytes[sizeof jfif + 3], comment.size() + 3);
    EXPECT_EQ(0, std::memcmp(bytes.data() + sizeof jfif + 4, comment.c_str(), comment.size() + 1));
    const size_t sof = FindMarker(bytes, kJpegSof0);
    ASSERT_NE(sof, std::string::npos);
    const uint8_t frame[] = {0xFF, 0xC0, 0, 17, 8, 0, 13, 0, 21, 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1};
    EXPECT_EQ(0, std::memcmp(bytes.data() + sof, frame, sizeof frame));
    EXPECT_NE(FindMarker(bytes, kJpegDht), std::string::npos);
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes.back(), kJpegEoi);
    EXPECT_TRUE(JpegCodec().CanWriteDepth(24));
    EXPECT_TRUE(JpegCodec().CanWriteDepth(0));
    EXPECT_FALSE(JpegCodec().CanWriteDepth(8));
    EXPECT_FALSE(JpegCodec().HasWriteOption());
}

TEST(JpegWriter, RoundTripsThroughTheReaderAtOddSizes)
{
    for (const auto& size : {std::pair{1, 1}, std::pair{17, 9}, std::pair{64, 8}, std::pair{45, 70}}) {
        SCOPED_TRACE(std::to_string(size.first) + "x" + std::to_string(size.second));
        const RgbImage source = MakePhotoLike(size.first, size.second, 4);
        CPicture picture;
        FillPicture(picture, source);
        const std::vector<uint8_t> bytes = EncodeJpeg(picture, 95);
        CPicture decoded;
        ASSERT_TRUE(DecodeJpeg(bytes, decoded));
        ASSERT_EQ(decoded.Width(), size.first);
        ASSERT_EQ(decoded.Height(), size.second);
        EXPECT_EQ(decoded.BitsPerPixel(), 24);
        EXPECT_GT(Psnr(FromPicture(decoded), source), 30.0);
    }
    // White stays exactly white (Y 255, Cb = Cr = 128).
    CPicture white;
    ASSERT_TRUE(white.Create(9, 9));
    for (int y = 0; y < 9; ++y)
        std::memset(white.Row(y), 255, 27);
    CPicture decoded;
    ASSERT_TRUE(DecodeJpeg(EncodeJpeg(white, 80), decoded));
    uint8_t px[3];
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            ASSERT_TRUE(decoded.GetPixel(x, y, px));
            ASSERT_EQ(px[0] + px[1] + px[2], 3 * 255);
        }
}

TEST(JpegReader, PingReportsTheFrame)
{
    const std::vector<uint8_t> bytes = EncodedSample(33, 17);
    CGraphicsStream stream;
    stream.OpenMemory(bytes.data(), bytes.size());
    int width = 0, height = 0, bits = 0;
    std::string info;
    ASSERT_EQ(JpegCodec().PingStream(stream, &width, &height, &bits, &info), 1);
    EXPECT_EQ(width, 33);
    EXPECT_EQ(height, 17);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(info, "Join Photographic Expert Group (JPEG,JPG)");
    // Only the signature FF D8 FF is required of the first bytes.
    const uint8_t foreign[] = {0xFF, 0xD8, 0x00, 0x10};
    stream.OpenMemory(foreign, sizeof foreign);
    EXPECT_EQ(JpegCodec().PingStream(stream, &width, &height, &bits, &info), 0);
}

TEST(JpegReader, UnsupportedStreamsAreRefusedWithTheirMessage)
{
    const std::vector<uint8_t> good = EncodedSample();
    const size_t sof = FindMarker(good, kJpegSof0);
    const size_t dqt = FindMarker(good, kJpegDqt);
    ASSERT_EQ(DecodeError(good), "");
    struct Case {
        size_t offset;
        uint8_t value;
        const char* message;
    } cases[] = {
        {sof + 4, 12, "Only 8-bit data supported"},
        {sof + 9, 4, "JFIF only supports 1 and 3 component streams"},
        {sof + 1, 0xC9, "Cannot read image - Arithmetic Coding covered by patents"},
        {sof + 1, 0xCA, "Cannot read image - Arithmetic Coding covered by patents"},
        {sof + 1, 0xC3, "Lossless Huffman Coding Not Supported"},
        {sof + 1, 0xC5, "Differential Sequential Huffman Coding Not Supported"},
        {sof + 1, 0xDE, "DHP marker not supported"},
        {sof + 1, 0x01, "Unknown, unsupported, or reserved marker encountered"},
        {sof + 3, 1, "Invalid segment length"},
        {sof + 3, 18, "Invalid Frame Size"},
        {dqt + 4 + 10, 0, "Zero value in quantization table"},
        {dqt + 4, 0x10, "Only 8-bit Data is Supported"},
        {dqt + 4, 0x04, "Quantization Table Index Too Large"},
        {dqt + 4, 0x20, "Invalid Quantization Table Precision"},
        {sof + 11, 0x51, "Invalid sampling factor"},
        {sof + 12, 4, "Bad Quantization Table Index"},
        {sof + 13, 1, "Duplicate component identifier"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        bytes[c.offset] = c.value;
        EXPECT_EQ(DecodeError(bytes), c.message) << c.message;
        CPicture picture;
        EXPECT_FALSE(DecodeJpeg(bytes, picture)) << c.message;
    }
    // A frame far larger than the file could describe is refused before anything is allocated.
    std::vector<uint8_t> huge = good;
    huge[sof + 5] = huge[sof + 6] = huge[sof + 7] = huge[sof + 8] = 0xFF;
    EXPECT_EQ(DecodeError(huge), "Frame size exceeds the file's data");
}

TEST(JpegReader, TruncatedStreamKeepsTheDecodedRows)
{
    CPicture full;
    const std::vector<uint8_t> bytes = EncodedSample(64, 64, 90);
    ASSERT_TRUE(DecodeJpeg(bytes, full));
    const size_t sos = FindMarker(bytes, kJpegSos);
    for (size_t cut : {bytes.size() - 2, sos + 14 + (bytes.size() - sos) / 2, sos + 20, sos + 5}) {
        const std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + long(cut));
        CPicture picture;
        EXPECT_FALSE(DecodeJpeg(truncated, picture));
        const std::string message = DecodeError(truncated, &picture);
        EXPECT_EQ(message, "Premature end of file");
        ASSERT_EQ(picture.Width(), 64);
        if (cut == bytes.size() - 2) { // only EOI missing: everything was decoded
            EXPECT_EQ(CompareImages(FromPicture(picture), FromPicture(full)).maxDiff, 0);
        }
        if (cut > sos + 14 + 100) { // at least the first block row came through
            EXPECT_EQ(0, std::memcmp(picture.Row(0), full.Row(0), 64 * 3));
        }
    }
}

TEST(JpegReader, CorruptedStreamsFailCleanly)
{
    const std::vector<uint8_t> good = EncodedSample(48, 40);
    uint32_t state = 12345;
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int n = 0; n < 1 + round % 6; ++n) {
            state = state * 1664525u + 1013904223u;
            bytes[(state >> 8) % bytes.size()] = static_cast<uint8_t>(state >> 24);
        }
        CPicture picture;
        failures += DecodeJpeg(bytes, picture) ? 0 : 1;
    }
    EXPECT_GT(failures, 0);
}

TEST(JpegCodecProgress, CancelEndsReadAndWrite)
{
    CPicture picture;
    FillPicture(picture, MakePhotoLike(64, 200, 2));
    const std::vector<uint8_t> bytes = EncodeJpeg(picture, 80);
    CGraphicsStream in;
    in.OpenMemory(bytes.data(), bytes.size());
    CancellingProgress cancelRead;
    CPicture target;
    EXPECT_EQ(JpegCodec().ReadStream(in, &target, &cancelRead), 0);
    EXPECT_EQ(cancelRead.Nesting(), 0);

    CGraphicsStream out;
    ASSERT_TRUE(out.CreateMemory(0));
    CancellingProgress cancelWrite;
    EXPECT_EQ(JpegCodec().WriteStream(out, &picture, 0, false, &cancelWrite), 0);
    EXPECT_EQ(cancelWrite.Nesting(), 0);
}

TEST(JpegReader, ApplicationSplashPicturesDecode)
{
    const std::string folder = std::string(QUENTA_SOURCE_DIR) + "/res/art/generated/";
    const std::vector<uint8_t> colour = ReadBytes(folder + "splash_356.jpg");
    const std::vector<uint8_t> mask = ReadBytes(folder + "splash_357.jpg");
    if (colour.empty() || mask.empty())
        GTEST_SKIP() << "splash pictures not generated";
    CPicture picture;
    ASSERT_TRUE(DecodeJpeg(colour, picture));
    EXPECT_EQ(picture.BitsPerPixel(), 24);
    CPicture grey;
    ASSERT_TRUE(DecodeJpeg(mask, grey));
    EXPECT_EQ(grey.BitsPerPixel(), 8);
    EXPECT_EQ(grey.Width(), picture.Width());
    EXPECT_EQ(grey.Height(), picture.Height());
}
