// Whole files decoded at each vector level (portable, SSE2, AVX2) give the same picture byte
// for byte, at full size and reduced: files of the codec's own writer, sizes that leave
// partial blocks and vector tails, and damaged ones that end early.
#include <gtest/gtest.h>

#include "jpeg_levels_support.h"
#include "jpeg_test_support.h"

TEST(JpegDecodeLevels, OwnFilesSameAtEveryLevel)
{
    const int sizes[][2] = {{1, 1}, {15, 9}, {33, 17}, {97, 61}, {250, 130}};
    for (const auto& size : sizes) {
        for (int quality : {20, 80, 100}) {
            CPicture picture;
            FillPicture(picture, MakePhotoLike(size[0], size[1], 3));
            const std::vector<uint8_t> bytes = EncodeJpeg(picture, quality);
            ExpectSameAtEveryLevel(bytes, std::to_string(size[0]) + "x" + std::to_string(size[1]) + " q" +
                                              std::to_string(quality));
        }
    }
}

TEST(JpegDecodeLevels, TruncatedFilesSameAtEveryLevel)
{
    // A stream cut short leaves part of the picture decoded and the rest as the decoder left
    // it: the same at every level.
    CPicture picture;
    FillPicture(picture, MakePhotoLike(120, 70, 9));
    const std::vector<uint8_t> bytes = EncodeJpeg(picture, 90);
    for (size_t keep : {bytes.size() / 3, bytes.size() / 2, bytes.size() - 40}) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(keep));
        for (int reduction : {1, 2}) {
            const std::string portable = DecodeAtLevel(cut, SimdLevel::Portable, reduction);
            EXPECT_EQ(DecodeAtLevel(cut, SimdLevel::Sse2, reduction), portable) << keep;
            EXPECT_EQ(DecodeAtLevel(cut, SimdLevel::Avx2, reduction), portable) << keep;
        }
    }
}

TEST(JpegDecodeLevels, CoarseTablesOnFineDataSameAtEveryLevel)
{
    // A fine file (quantizers 1) given coarse tables afterwards: the coefficients, meant for
    // steps of 1, are multiplied by up to 255, far past what an encoder makes, so the vector
    // transforms hand most blocks back to the portable one (which wraps): every level must
    // still give the same picture.
    CPicture picture;
    FillPicture(picture, MakePhotoLike(90, 50, 4));
    const std::vector<uint8_t> fine = EncodeJpeg(picture, 100);
    size_t dqt = 0;
    while (dqt + 1 < fine.size() && !(fine[dqt] == 0xFF && fine[dqt + 1] == 0xDB))
        ++dqt;
    ASSERT_LT(dqt + 4, fine.size()) << "no quantization tables in the file";
    const size_t length = size_t(fine[dqt + 2]) << 8 | fine[dqt + 3];
    ASSERT_EQ((length - 2) % 65, 0u);
    for (int step : {2, 20, 130, 255}) {
        std::vector<uint8_t> coarse = fine;
        for (size_t table = 0; table < (length - 2) / 65; ++table)
            for (size_t k = 0; k < 64; ++k)
                coarse[dqt + 5 + table * 65 + k] = uint8_t(k % 3 == 0 ? step : 1 + k % 7);
        ExpectSameAtEveryLevel(coarse, "steps up to " + std::to_string(step));
    }
}
