#include <gtest/gtest.h>

#include <string>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

std::vector<uint32_t> Colours()
{
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 256; ++i)
        colours.push_back((i * 7 % 256) << 16 | (255 - i) << 8 | (i * 13 % 256));
    return colours;
}

void PalettePicture(CPicture& picture, int width, int height)
{
    const std::vector<uint32_t> colours = Colours();
    Fill(picture, width, height, [&](int x, int y) { return colours[x < 150 ? 9 : (x * 3 + y * 17) % 256]; });
    SetPalette(picture, colours, 8);
}

} // namespace

TEST(CutCodec, WritesRowsAndThePaletteFile)
{
    const std::string cut = TempPath("picture.cut"), pal = TempPath("picture.pal");
    CPicture original, written;
    PalettePicture(original, 300, 4);
    PalettePicture(written, 300, 4);
    ASSERT_EQ(CutCodec().WriteFile(cut, &written, 0, false, nullptr), 1);

    Bytes file = ReadBytes(cut);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), (Bytes{0x2C, 0x01, 4, 0, 0, 0}));
    // 150 pixels of index 9: a run of 127 and a run of 23; the byte count includes the final 0.
    const Bytes rowStart = {0xFF, 9, 0x80 | 23, 9};
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 12), rowStart);

    Bytes palette = ReadBytes(pal);
    ASSERT_EQ(palette.size(), 1536u + 8 * 6);
    EXPECT_EQ(Bytes(palette.begin(), palette.begin() + 10), (Bytes{'A', 'H', 0xE3, 0, 0, 0, 0x0A, 0, 0, 0}));
    // Entry 78 starts the second block: R, G, B as 16-bit values.
    const uint32_t c78 = Colours()[78];
    EXPECT_EQ(Bytes(palette.begin() + 512, palette.begin() + 518),
              (Bytes{uint8_t(c78 >> 16), 0, uint8_t(c78 >> 8), 0, uint8_t(c78), 0}));
    EXPECT_EQ(Bytes(palette.begin() + 508, palette.begin() + 512), Bytes(4, 0));

    CPicture copy;
    ASSERT_EQ(CutCodec().ReadFile(cut, &copy, nullptr), 1);
    EXPECT_TRUE(SamePixels(original, copy));
    EXPECT_EQ(copy.BitsPerPixel(), 8);

    // Without its palette file the picture is grey: each pixel is its index.
    std::remove(pal.c_str());
    ASSERT_EQ(CutCodec().ReadFile(cut, &copy, nullptr), 1);
    uint8_t p[3];
    copy.GetPixel(0, 0, p);
    EXPECT_EQ(p[0], 9);
    EXPECT_EQ(p[2], 9);
    std::remove(cut.c_str());
}

TEST(CutCodec, DamagedFilesAreRefused)
{
    CPicture picture;
    // 2 x 1: one literal pair, then end of row.
    const Bytes good = {2, 0, 1, 0, 0, 0, 4, 0, 2, 10, 20, 0};
    ASSERT_TRUE(ReadFromMemory(CutCodec(), good, picture));
    uint8_t p[3];
    picture.GetPixel(1, 0, p);
    EXPECT_EQ(p[0], 20);

    Bytes zeroWidth = good;
    zeroWidth[0] = 0;
    Bytes tooWide = good;
    tooWide[0] = 0x31, tooWide[1] = 0x75; // 30001
    Bytes truncated(good.begin(), good.end() - 3);
    Bytes literalPastRow = good;
    literalPastRow[8] = 9;
    Bytes manyRows = good;
    manyRows[2] = manyRows[3] = 0xFF; // 65535 rows from 12 bytes
    for (const Bytes* bad : {&zeroWidth, &tooWide, &truncated, &literalPastRow, &manyRows})
        EXPECT_FALSE(ReadFromMemory(CutCodec(), *bad, picture));
}

TEST(CutCodec, ProbeRefusesFilesThatCannotHoldTheirRows)
{
    // The format has no signature: a text file must not pass for a 28526 x 8308 picture.
    const std::string text = "not a picture\n";
    CGraphicsStream stream;
    stream.OpenMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    int width = 0, height = 0, bits = 0;
    EXPECT_EQ(CutCodec().PingStream(stream, &width, &height, &bits, nullptr), 0);

    const Bytes good = {2, 0, 1, 0, 0, 0, 4, 0, 2, 10, 20, 0};
    stream.OpenMemory(good.data(), good.size());
    ASSERT_EQ(CutCodec().PingStream(stream, &width, &height, &bits, nullptr), 1);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);

    // The probe takes exactly what the reader takes: rows that pass the end of the file or
    // whose runs pass the end of their row are refused by both.
    Bytes twoRows = {2, 0, 2, 0, 0, 0, 4, 0, 2, 10, 20, 0, 3, 0, 0x82, 7, 0};
    Bytes secondRowShort = twoRows;
    secondRowShort[12] = 9;
    Bytes runPastRow = twoRows;
    runPastRow[12] = 1; // the run's value lies beyond the row's one byte
    for (const Bytes* file : {&twoRows, &secondRowShort, &runPastRow}) {
        stream.OpenMemory(file->data(), file->size());
        CPicture picture;
        const bool read = ReadFromMemory(CutCodec(), *file, picture);
        EXPECT_EQ(CutCodec().PingStream(stream, nullptr, nullptr, nullptr, nullptr) == 1, read);
        EXPECT_EQ(read, file == &twoRows);
    }
}
