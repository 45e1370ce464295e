// The logo file's layout byte by byte, and its reader against damaged and foreign files.
#include <gtest/gtest.h>

#include <cstring>

#include "picturetools/syspicture/logo_file.h"

namespace {
uint32_t U32(const std::vector<uint8_t>& file, size_t at)
{
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
}

// Index = (x + 3y) mod 256, palette entry i = (i, 255 - i, i / 2).
LogoImage Pattern(int width, int height, uint8_t bandStart)
{
    LogoImage image;
    image.width = width;
    image.height = height;
    image.bandStart = bandStart;
    for (int i = 0; i < 256; ++i)
        image.palette.insert(image.palette.end(),
                             {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.indices.push_back(static_cast<uint8_t>(x + 3 * y));
    return image;
}
} // namespace

TEST(LogoFile, HeaderPaletteAndRowsAreLaidOutAsTheSystemReadsThem)
{
    const std::vector<uint8_t> file = EncodeLogoBmp(Pattern(320, 400, 160), true, nullptr);
    ASSERT_EQ(file.size(), 1078u + 320 * 400);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), 1078u + 128000);
    EXPECT_EQ(U32(file, 6), 0u);
    EXPECT_EQ(U32(file, 10), 1078u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), 320u);
    EXPECT_EQ(U32(file, 22), 400u);
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 8);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 34), 128000u);
    for (size_t at = 38; at < 54; ++at)
        EXPECT_EQ(file[at], at == 50 ? 160 : 0) << "byte " << at;
    // Palette entries blue, green, red, 0.
    EXPECT_EQ(file[54 + 4 * 7 + 0], 7);
    EXPECT_EQ(file[54 + 4 * 7 + 1], 248);
    EXPECT_EQ(file[54 + 4 * 7 + 2], 3);
    EXPECT_EQ(file[54 + 4 * 7 + 3], 0);
    // The first stored row is the bottom one.
    EXPECT_EQ(file[1078], static_cast<uint8_t>(3 * 399));
    EXPECT_EQ(file[1078 + 320 * 399 + 5], 5);
}

TEST(LogoFile, WithoutTheBandByteFiftyStaysZero)
{
    EXPECT_EQ(EncodeLogoBmp(Pattern(320, 400, 160), false, nullptr)[50], 0);
}

TEST(LogoFile, RowsArePaddedToFourBytesAndReadBackUnchanged)
{
    const LogoImage image = Pattern(5, 3, 200);
    const std::vector<uint8_t> file = EncodeLogoBmp(image, true, nullptr);
    ASSERT_EQ(file.size(), 1078u + 8 * 3);
    EXPECT_EQ(U32(file, 34), 24u);
    EXPECT_EQ(file[1078 + 5], 0) << "padding";
    const auto read = DecodeLogoBmp(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->width, 5);
    EXPECT_EQ(read->height, 3);
    EXPECT_EQ(read->bandStart, 200);
    EXPECT_EQ(read->indices, image.indices);
    EXPECT_EQ(read->palette, image.palette);
}

TEST(LogoFile, MalformedImagesAreNotWritten)
{
    LogoImage image = Pattern(4, 4, 0);
    image.indices.pop_back();
    EXPECT_TRUE(EncodeLogoBmp(image, false, nullptr).empty());
    image = Pattern(4, 4, 0);
    image.palette.resize(3 * 16);
    EXPECT_TRUE(EncodeLogoBmp(image, false, nullptr).empty());
}

TEST(LogoFile, ReaderRefusesWhatIsNotAnUncompressedEightBitBitmapInsideTheBytes)
{
    const std::vector<uint8_t> good = EncodeLogoBmp(Pattern(8, 8, 0), false, nullptr);
    ASSERT_TRUE(DecodeLogoBmp(good));
    auto damaged = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::vector<uint8_t> file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return DecodeLogoBmp(file).has_value();
    };
    EXPECT_FALSE(damaged(0, {'M', 'B'}));
    EXPECT_FALSE(damaged(28, {24}));                  // 24 bits per pixel
    EXPECT_FALSE(damaged(30, {1}));                   // RLE8
    EXPECT_FALSE(damaged(22, {0xF8, 0xFF, 0xFF, 0xFF})) << "top-down height";
    EXPECT_FALSE(damaged(18, {0, 0, 1, 0})) << "width far beyond the bytes";
    EXPECT_FALSE(damaged(22, {0xFF, 0xFF, 0xFF, 0x7F})) << "height far beyond the bytes";
    EXPECT_FALSE(damaged(46, {1, 1}));                // 257 colours
    EXPECT_FALSE(damaged(10, {0xFF, 0xFF, 0, 0}));    // pixels past the end
    EXPECT_FALSE(damaged(10, {60, 0, 0, 0}));         // pixels inside the colour table
    EXPECT_FALSE(damaged(14, {0xFF, 0xFF, 0xFF, 0xFF})); // header larger than the file
    EXPECT_FALSE(DecodeLogoBmp(std::span(good).first(good.size() - 1)));
    EXPECT_FALSE(DecodeLogoBmp(std::span(good).first(53)));
    EXPECT_FALSE(DecodeLogoBmp({}));
}

TEST(LogoFile, AShortColourTableLeavesTheOtherEntriesBlack)
{
    // 8 x 1 picture with a 2-entry table right after the 40-byte header.
    std::vector<uint8_t> file(54 + 8 + 8, 0);
    file[0] = 'B';
    file[1] = 'M';
    file[10] = 62;
    file[14] = 40;
    file[18] = 8;
    file[22] = 1;
    file[26] = 1;
    file[28] = 8;
    file[46] = 2;
    file[54 + 4] = 9; // entry 1 blue
    file[62] = 1;
    const auto read = DecodeLogoBmp(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->palette[3], 9);
    EXPECT_EQ(read->palette[3 * 255], 0);
    EXPECT_EQ(read->At(0, 0), 1);
}
