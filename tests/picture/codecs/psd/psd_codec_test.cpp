#include <gtest/gtest.h>

#include <cstring>

#include "picture/codecs/codecs.h"
#include "picture/codecs/raster_bytes.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"

using namespace rastertest;

TEST(PsdCodec, RoundTripsEveryWrittenDepthWithAndWithoutPackBits)
{
    for (int depth : {8, 24, 32})
        for (bool packBits : {true, false}) {
            SCOPED_TRACE(std::to_string(depth) + (packBits ? " packbits" : " raw"));
            auto picture = depth == 8 ? MakePalettePicture(301, 13, 8) : MakeColourPicture(301, 13, depth == 32);
            const std::vector<uint8_t> file = WriteToMemory(PsdCodec(), *picture, packBits);
            CPicture back;
            ASSERT_TRUE(ReadFromMemory(PsdCodec(), file, back));
            EXPECT_EQ(back.BitsPerPixel(), depth);
            EXPECT_TRUE(SamePixels(*picture, back, depth == 32));
        }
}

TEST(PsdCodec, WrittenHeaderRowTableAndInformationText)
{
    auto picture = MakeColourPicture(50, 7, true);
    const std::vector<uint8_t> file = WriteToMemory(PsdCodec(), *picture, true);
    const uint8_t header[] = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 7, 0, 0, 0, 50, 0, 8, 0, 3};
    ASSERT_GT(file.size(), 40u);
    EXPECT_EQ(std::memcmp(file.data(), header, sizeof header), 0);
    // Empty mode data, resources and layers, then compression 1 and 4 x 7 row sizes.
    EXPECT_EQ(rastercodec::LoadU32BE(&file[26]), 0u);
    EXPECT_EQ(rastercodec::LoadU16BE(&file[38]), 1);
    size_t total = 0;
    for (int r = 0; r < 28; ++r)
        total += rastercodec::LoadU16BE(&file[40 + r * 2]);
    EXPECT_EQ(file.size(), 40u + 56 + total);

    std::string info;
    int bits = 0;
    ASSERT_TRUE(PingMemory(PsdCodec(), file, nullptr, nullptr, &bits, &info));
    EXPECT_EQ(bits, 32);
    EXPECT_EQ(info, "PSD : Adobe Photoshop File Format. Mode : RGB. Compression : Run Legngth Encoding.");

    auto indexed = MakePalettePicture(5, 5, 8);
    const std::vector<uint8_t> mapped = WriteToMemory(PsdCodec(), *indexed, false);
    EXPECT_EQ(rastercodec::LoadU16BE(&mapped[24]), 2);
    EXPECT_EQ(rastercodec::LoadU32BE(&mapped[26]), 768u);
    ASSERT_TRUE(PingMemory(PsdCodec(), mapped, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(info, "PSD : Adobe Photoshop File Format. Mode : Indexed Palette (256). Compression : none.");
}

TEST(PsdCodec, DuotoneLoadsAsGrey)
{
    std::vector<uint8_t> file = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 8, 0, 8};
    file.insert(file.end(), {0, 0, 0, 4, 1, 2, 3, 4}); // duotone specification
    file.insert(file.end(), 8, 0);                     // no resources, no layers
    file.insert(file.end(), {0, 0, 10, 128, 250});     // raw
    CPicture p;
    ASSERT_TRUE(ReadFromMemory(PsdCodec(), file, p));
    EXPECT_EQ(p.BitsPerPixel(), 8);
    uint8_t bgr[3];
    p.GetPixel(1, 0, bgr);
    EXPECT_EQ(bgr[0], 128);
    EXPECT_EQ(bgr[2], 128);
    std::string info;
    ASSERT_TRUE(PingMemory(PsdCodec(), file, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(info, "PSD : Adobe Photoshop File Format. Mode : Duotone. Compression : none.");
}

TEST(PsdCodec, ForeignAndDamagedDataFailsCleanly)
{
    auto picture = MakeColourPicture(40, 9);
    std::vector<uint8_t> good = WriteToMemory(PsdCodec(), *picture, true);
    for (size_t n = 0; n < good.size(); n += 5) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        CPicture back;
        EXPECT_FALSE(ReadFromMemory(PsdCodec(), cut, back)) << n;
    }
    CPicture back;
    std::vector<uint8_t> cmyk = good;
    cmyk[25] = 4;
    EXPECT_FALSE(ReadFromMemory(PsdCodec(), cmyk, back));
    std::vector<uint8_t> deep = good;
    deep[23] = 16;
    EXPECT_FALSE(ReadFromMemory(PsdCodec(), deep, back));
    // Huge dimensions backed by a few row bytes.
    std::vector<uint8_t> huge = good;
    huge[14] = huge[15] = huge[18] = huge[19] = 0; // keep height 9 ... width 40
    huge[16] = 0xFF;
    huge[17] = 0xFF;
    EXPECT_FALSE(ReadFromMemory(PsdCodec(), huge, back));
}
