#include <gtest/gtest.h>

#include "picture/codecs/codecs.h"
#include "picture/codecs/tga_codec.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"

using namespace rastertest;

namespace {

CTgaCodec& Tga() { return static_cast<CTgaCodec&>(TgaCodec()); }

// Restores the codec's top-down flag after a test changed it.
struct TopDownScope {
    ~TopDownScope() { Tga().SetTopDown(true); }
};

std::vector<uint8_t> Header(uint8_t mapType, uint8_t type, uint16_t mapLength, uint8_t entrySize, uint16_t w,
                            uint16_t h, uint8_t depth, uint8_t descriptor)
{
    return {0, mapType, type, 0, 0, uint8_t(mapLength), uint8_t(mapLength >> 8), entrySize, 0, 0, 0, 0,
            uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), depth, descriptor};
}

} // namespace

TEST(TgaCodec, RoundTripsEveryDepthOptionAndOrigin)
{
    TopDownScope restore;
    for (int depth : {8, 24, 32})
        for (bool runLength : {true, false})
            for (bool topDown : {true, false}) {
                SCOPED_TRACE(std::to_string(depth) + (runLength ? " rle" : " raw") + (topDown ? " top-down" : ""));
                auto picture = depth == 8 ? MakePalettePicture(131, 17, 8) : MakeColourPicture(131, 17, depth == 32);
                Tga().SetTopDown(topDown);
                const std::vector<uint8_t> file = WriteToMemory(Tga(), *picture, runLength);
                ASSERT_GE(file.size(), 18u);
                CPicture back;
                ASSERT_TRUE(ReadFromMemory(Tga(), file, back));
                EXPECT_EQ(back.BitsPerPixel(), depth);
                EXPECT_TRUE(SamePixels(*picture, back, depth == 32));
            }
}

TEST(TgaCodec, HeaderBytesFollowTheOptionAndTheTopDownFlag)
{
    TopDownScope restore;
    auto colour = MakeColourPicture(10, 4);
    auto alpha = MakeColourPicture(10, 4, true);
    auto mapped = MakePalettePicture(10, 4, 8);

    std::vector<uint8_t> raw = WriteToMemory(Tga(), *colour, false);
    EXPECT_EQ(raw[1], 0);
    EXPECT_EQ(raw[2], 2);
    EXPECT_EQ(raw[16], 24);
    EXPECT_EQ(raw[17], 0x20);
    EXPECT_EQ(raw.size(), 18u + 10 * 4 * 3); // no packets
    uint8_t topLeft[3];
    colour->GetPixel(0, 0, topLeft);
    EXPECT_EQ(raw[18], topLeft[0]);

    std::vector<uint8_t> rgba = WriteToMemory(Tga(), *alpha, true);
    EXPECT_EQ(rgba[2], 10);
    EXPECT_EQ(rgba[17], 0x28);

    std::vector<uint8_t> map = WriteToMemory(Tga(), *mapped, false);
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[2], 1);
    EXPECT_EQ(map[5] | map[6] << 8, 256);
    EXPECT_EQ(map[7], 24);
    EXPECT_EQ(map.size(), 18u + 768 + 40);

    Tga().SetTopDown(false);
    raw = WriteToMemory(Tga(), *colour, false);
    EXPECT_EQ(raw[17], 0);
    uint8_t bottomLeft[3];
    colour->GetPixel(0, 3, bottomLeft);
    EXPECT_EQ(raw[18], bottomLeft[0]);
    EXPECT_EQ(WriteToMemory(Tga(), *alpha, false)[17], 0x08);
}

TEST(TgaCodec, ReadsPacketsAcrossRowsMirroredRowsAnd16BitAndGreyPixels)
{
    // 3 x 2 true colour, bottom-left origin, right-to-left; one repeat packet runs over both rows.
    std::vector<uint8_t> file = Header(0, 10, 0, 0, 3, 2, 24, 0x10);
    file.insert(file.end(), {0x83, 1, 2, 3, 0x01, 7, 8, 9, 4, 5, 6});
    CPicture p;
    ASSERT_TRUE(ReadFromMemory(TgaCodec(), file, p));
    uint8_t bgr[3];
    p.GetPixel(2, 1, bgr); // first file pixel: bottom row, rightmost
    EXPECT_EQ(bgr[0], 1);
    p.GetPixel(2, 0, bgr); // fourth pixel: top row, rightmost (the run went on)
    EXPECT_EQ(bgr[2], 3);
    p.GetPixel(0, 0, bgr);
    EXPECT_EQ(bgr[0], 4);

    // 16-bit 5-5-5 white and pure red, top-down.
    file = Header(0, 2, 0, 0, 2, 1, 16, 0x20);
    file.insert(file.end(), {0xFF, 0x7F, 0x00, 0x7C});
    ASSERT_TRUE(ReadFromMemory(TgaCodec(), file, p));
    p.GetPixel(0, 0, bgr);
    EXPECT_EQ(bgr[0] + bgr[1] + bgr[2], 3 * 255);
    p.GetPixel(1, 0, bgr);
    EXPECT_EQ(bgr[2], 255);
    EXPECT_EQ(bgr[0], 0);

    // Grey, run-length coded.
    file = Header(0, 11, 0, 0, 4, 1, 8, 0x20);
    file.insert(file.end(), {0x83, 200});
    ASSERT_TRUE(ReadFromMemory(TgaCodec(), file, p));
    p.GetPixel(3, 0, bgr);
    EXPECT_EQ(bgr[1], 200);
}

TEST(TgaCodec, ForeignAndDamagedDataFailsCleanly)
{
    CPicture p;
    // Colour-mapped data without a colour map, true colour with a depth of 8, too short a file.
    EXPECT_FALSE(ReadFromMemory(TgaCodec(), Header(0, 1, 0, 0, 2, 2, 8, 0), p));
    EXPECT_FALSE(ReadFromMemory(TgaCodec(), Header(0, 2, 0, 0, 2, 2, 8, 0), p));
    EXPECT_FALSE(ReadFromMemory(TgaCodec(), std::vector<uint8_t>(17, 0), p));
    // 65535 x 65535 pixels claimed by a few bytes of packets.
    std::vector<uint8_t> huge = Header(0, 10, 0, 0, 65535, 65535, 32, 8);
    huge.insert(huge.end(), {0xFF, 1, 2, 3, 4});
    EXPECT_FALSE(ReadFromMemory(TgaCodec(), huge, p));

    auto picture = MakeColourPicture(40, 12, true);
    const std::vector<uint8_t> good = WriteToMemory(TgaCodec(), *picture, true);
    for (size_t n = 0; n < good.size(); n += 5) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        CPicture back;
        EXPECT_FALSE(ReadFromMemory(TgaCodec(), cut, back)) << n;
        // The format has no signature: the probe, too, asks for the whole pixel data.
        CGraphicsStream stream;
        stream.OpenMemory(cut.data(), cut.size());
        EXPECT_EQ(TgaCodec().PingStream(stream, nullptr, nullptr, nullptr, nullptr), 0) << n;
    }
    for (bool runLength : {true, false}) {
        const std::vector<uint8_t> file = WriteToMemory(TgaCodec(), *picture, runLength);
        CGraphicsStream stream;
        stream.OpenMemory(file.data(), file.size());
        EXPECT_EQ(TgaCodec().PingStream(stream, nullptr, nullptr, nullptr, nullptr), 1);
        stream.OpenMemory(file.data(), file.size() - 1);
        EXPECT_EQ(TgaCodec().PingStream(stream, nullptr, nullptr, nullptr, nullptr), 0);
    }
}
