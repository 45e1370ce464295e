#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"

using namespace rastertest;

namespace {

std::vector<uint8_t> Header(uint8_t version, uint8_t bits, uint8_t planes, uint16_t w, uint16_t h, uint16_t bytesPerLine)
{
    std::vector<uint8_t> header(128, 0);
    header[0] = 10;
    header[1] = version;
    header[2] = 1;
    header[3] = bits;
    header[8] = uint8_t(w - 1);
    header[9] = uint8_t((w - 1) >> 8);
    header[10] = uint8_t(h - 1);
    header[11] = uint8_t((h - 1) >> 8);
    header[65] = planes;
    header[66] = uint8_t(bytesPerLine);
    header[67] = uint8_t(bytesPerLine >> 8);
    return header;
}

} // namespace

TEST(PcxCodec, RoundTripsEveryWrittenDepth)
{
    for (int depth : {4, 8, 24}) {
        SCOPED_TRACE(depth);
        for (int width : {1, 2, 63, 130}) {
            auto picture = depth <= 8 ? MakePalettePicture(width, 9, depth) : MakeColourPicture(width, 9);
            const std::vector<uint8_t> file = WriteToMemory(PcxCodec(), *picture, false);
            CPicture back;
            ASSERT_TRUE(ReadFromMemory(PcxCodec(), file, back)) << width;
            EXPECT_EQ(back.BitsPerPixel(), depth);
            EXPECT_TRUE(SamePixels(*picture, back)) << width;
        }
    }
}

TEST(PcxCodec, ByteFormsOfTheRunLengthCodeAndThePaletteTail)
{
    // A lone byte of 0xC0 or more needs a count of one in front of it.
    CPicture one;
    one.Create(1, 1);
    const uint8_t colour[3] = {0x05, 0xC5, 0xC5}; // B, G, R
    one.SetPixel(0, 0, colour);
    std::vector<uint8_t> file = WriteToMemory(PcxCodec(), one, false);
    ASSERT_EQ(file.size(), 128u + 5);
    EXPECT_EQ(file[65], 3);
    const std::vector<uint8_t> rows(file.begin() + 128, file.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0xC1, 0xC5, 0xC1, 0xC5, 0x05}));

    // Runs are at most 63 bytes: 100 equal bytes give 0xFF x, 0xE5 x.
    auto flat = MakePalettePicture(100, 1, 8);
    uint8_t first[3];
    flat->GetPixel(0, 0, first);
    for (int x = 0; x < 100; ++x)
        flat->SetPixel(x, 0, first);
    file = WriteToMemory(PcxCodec(), *flat, false);
    ASSERT_EQ(file.size(), 128u + 4 + 769);
    EXPECT_EQ(file[128], 0xFF);
    EXPECT_EQ(file[130], 0xC0 + 37);
    EXPECT_EQ(file[file.size() - 769], 12);

    // A palette tail that does not start with 12 is refused.
    file[file.size() - 769] = 11;
    CPicture back;
    EXPECT_FALSE(ReadFromMemory(PcxCodec(), file, back));
}

TEST(PcxCodec, ReadsBitPlanesAndRunsThatCrossLines)
{
    // 8 x 2 pixels in four bit planes (16 colours); one run covers the end of line 0 and line 1.
    std::vector<uint8_t> file = Header(5, 1, 4, 8, 2, 1);
    for (int i = 0; i < 16; ++i) {
        file[16 + i * 3] = uint8_t(i * 16); // red of entry i
        file[17 + i * 3] = uint8_t(i);
    }
    file.insert(file.end(), {0x0F, 0x00, 0x00, 0xC5, 0xFF}); // planes 0..3 of line 0, then 4 x 0xFF
    CPicture p;
    ASSERT_TRUE(ReadFromMemory(PcxCodec(), file, p));
    EXPECT_EQ(p.BitsPerPixel(), 4);
    uint8_t bgr[3];
    p.GetPixel(0, 0, bgr); // plane 0 clear, plane 3 set: index 8
    EXPECT_EQ(bgr[2], 8 * 16);
    p.GetPixel(7, 0, bgr); // planes 0 and 3: index 9
    EXPECT_EQ(bgr[1], 9);
    p.GetPixel(3, 1, bgr); // every plane set
    EXPECT_EQ(bgr[1], 15);
}

TEST(PcxCodec, ForeignAndDamagedDataFailsCleanly)
{
    CPicture p;
    std::vector<uint8_t> header = Header(5, 8, 3, 4, 4, 4);
    header[64] = 1; // reserved byte set
    EXPECT_FALSE(ReadFromMemory(PcxCodec(), header, p));
    // Bytes per line shorter than the width needs.
    EXPECT_FALSE(ReadFromMemory(PcxCodec(), Header(5, 8, 3, 40, 4, 3), p));
    // 65535 x 65535 from a handful of bytes.
    std::vector<uint8_t> huge = Header(5, 8, 3, 65535, 65535, 65535);
    huge.insert(huge.end(), 64, 0xFF);
    EXPECT_FALSE(ReadFromMemory(PcxCodec(), huge, p));
    // No bit planes at all: lines of no bytes would have let any size through (29705 x 29282
    // from 256 bytes, found by fuzzing).
    std::vector<uint8_t> planeless = Header(5, 1, 0, 29705, 29282, 46592);
    planeless.resize(256, 0);
    EXPECT_FALSE(ReadFromMemory(PcxCodec(), planeless, p));

    auto picture = MakeColourPicture(33, 14);
    const std::vector<uint8_t> good = WriteToMemory(PcxCodec(), *picture, false);
    for (size_t n = 0; n < good.size(); n += 3) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        CPicture back;
        EXPECT_FALSE(ReadFromMemory(PcxCodec(), cut, back)) << n;
    }
}
