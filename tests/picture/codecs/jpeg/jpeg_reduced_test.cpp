// Reduced-size decoding (1/2, 1/4, 1/8) of the codec's own baseline files, the choice of the
// reduction, and the full-size path left as it was.
#include <gtest/gtest.h>

#include "jpeg_reduced_support.h"
#include <cstring>

#include "jpeg_test_support.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/picture.h"

namespace {

std::vector<uint8_t> PhotoJpeg(int width, int height, int quality = 85)
{
    CPicture picture;
    FillPicture(picture, MakePhotoLike(width, height, 7));
    return EncodeJpeg(picture, quality);
}

TEST(JpegReduced, ReducedDecodesMatchTheAveragedFullDecode)
{
    // Odd sizes: partial blocks at the right and bottom edges.
    const std::vector<uint8_t> jpeg = PhotoJpeg(203, 141);
    for (int d : {2, 4, 8}) {
        const ReducedDiff diff = CompareReducedDecode(jpeg, d);
        EXPECT_LT(diff.mean, 2.5) << d;
        EXPECT_LE(diff.max, 48) << d;
    }
}

TEST(JpegReduced, FullSizeThroughTheNewEntryEqualsTheCodec)
{
    const std::vector<uint8_t> jpeg = PhotoJpeg(77, 50);
    CPicture codec, direct;
    ASSERT_TRUE(DecodeJpeg(jpeg, codec));
    ASSERT_TRUE(DecodeJpegReduced(jpeg.data(), jpeg.size(), 1, direct, nullptr));
    ASSERT_EQ(codec.Width(), direct.Width());
    for (int y = 0; y < codec.Height(); ++y)
        ASSERT_EQ(std::memcmp(codec.Row(y), direct.Row(y), size_t(codec.Width()) * 3), 0) << y;
}

TEST(JpegReduced, FrameSizeAndReductionChoice)
{
    const std::vector<uint8_t> jpeg = PhotoJpeg(160, 120);
    JpegFrameSize frame;
    ASSERT_TRUE(ReadJpegFrameSize(jpeg.data(), jpeg.size(), frame));
    EXPECT_EQ(frame.width, 160);
    EXPECT_EQ(frame.height, 120);
    EXPECT_EQ(frame.components, 3);
    EXPECT_FALSE(ReadJpegFrameSize(jpeg.data(), 20, frame)); // no frame before the end

    EXPECT_EQ(JpegReductionFor(1600, 1200, 156, 116), 8);
    EXPECT_EQ(JpegReductionFor(1600, 1200, 201, 116), 4);
    EXPECT_EQ(JpegReductionFor(1600, 1200, 600, 116), 2);
    EXPECT_EQ(JpegReductionFor(1600, 1200, 801, 116), 1);
    EXPECT_EQ(JpegReductionFor(9, 9, 3, 3), 4); // rounded up: ceil(9 / 4) = 3
}

TEST(JpegReduced, DamagedStreamsFailCleanly)
{
    std::vector<uint8_t> jpeg = PhotoJpeg(64, 64);
    CPicture picture;
    for (size_t cut : {size_t(2), size_t(100), jpeg.size() / 2}) {
        std::vector<uint8_t> head(jpeg.begin(), jpeg.begin() + long(cut));
        DecodeJpegReduced(head.data(), head.size(), 8, picture, nullptr); // must not crash
    }
    const uint8_t notJpeg[] = {'B', 'M', 0};
    EXPECT_FALSE(DecodeJpegReduced(notJpeg, sizeof notJpeg, 8, picture, nullptr));
}

} // namespace
