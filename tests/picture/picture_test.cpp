#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "picture/picture.h"

TEST(Picture, CreateBuildsBottomUpDibWithTopDownRowTable)
{
    CPicture p;
    ASSERT_TRUE(p.Create(3, 2));
    EXPECT_EQ(p.BitsPerPixel(), 24);
    EXPECT_EQ(p.Stride(), 12u); // 9 bytes rounded up to 12
    EXPECT_EQ(p.DibSize(), 40u + 24u);
    EXPECT_EQ(p.Header()->biHeight, 2);
    EXPECT_EQ(p.Header()->biSizeImage, 24u);
    // Row 0 is the top row: the last one in memory.
    EXPECT_EQ(p.Row(0), p.Bits() + 12);
    EXPECT_EQ(p.Row(1), p.Bits());
}

TEST(Picture, CreateWithSameSizeKeepsPixels)
{
    CPicture p;
    ASSERT_TRUE(p.Create(4, 4));
    const uint8_t red[3] = {0, 0, 255};
    p.SetPixel(1, 1, red);
    ASSERT_TRUE(p.Create(4, 4));
    uint8_t got[3];
    ASSERT_TRUE(p.GetPixel(1, 1, got));
    EXPECT_EQ(got[2], 255);
}

TEST(Picture, CreateRefusesSizesBeyondTheModel)
{
    CPicture p;
    EXPECT_FALSE(p.Create(65536, 1));
    EXPECT_FALSE(p.Create(65535, 65535)); // block would pass 32 bits
    EXPECT_TRUE(p.IsEmpty());
}

TEST(Picture, PaletteSizeChoosesDepth)
{
    CPicture p;
    ASSERT_TRUE(p.Create(1, 1));
    p.SetPaletteSize(3);
    EXPECT_EQ(p.BitsPerPixel(), 2);
    p.SetPaletteSize(2); // already large enough: nothing changes
    EXPECT_EQ(p.PaletteSize(), 3u);
    p.SetPaletteSize(300);
    EXPECT_EQ(p.BitsPerPixel(), 9);
    p.SetBitsPerPixel(24);
    EXPECT_EQ(p.PaletteSize(), 0u);
    p.SetBitsPerPixel(32);
    EXPECT_TRUE(p.HasAlpha());
}

TEST(Picture, AlphaPlane)
{
    CPicture p;
    ASSERT_TRUE(p.Create(2, 2));
    EXPECT_EQ(p.GetAlpha(0, 0), -1);
    ASSERT_TRUE(p.CreateAlpha());
    EXPECT_EQ(p.GetAlpha(1, 1), 255);
    EXPECT_TRUE(p.SetAlpha(1, 0, 7));
    EXPECT_EQ(p.GetAlpha(1, 0), 7);
    EXPECT_EQ(p.GetAlpha(2, 0), -1);
}

TEST(Picture, CropClampsAndOrdersCorners)
{
    CPicture p;
    ASSERT_TRUE(p.Create(10, 10));
    const uint8_t white[3] = {255, 255, 255};
    p.SetPixel(5, 5, white);
    p.CreateAlpha();
    p.SetAlpha(5, 5, 9);
    auto c = p.Crop(20, 20, 5, 5);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Width(), 5);
    EXPECT_EQ(c->Height(), 5);
    uint8_t got[3];
    c->GetPixel(0, 0, got);
    EXPECT_EQ(got[0], 255);
    EXPECT_EQ(c->GetAlpha(0, 0), 9);
    EXPECT_EQ(p.Crop(-5, -5, -1, -1), nullptr);
}

TEST(Picture, ConvertToGreyAndSortPalette)
{
    CPicture p;
    ASSERT_TRUE(p.Create(1, 1));
    const uint8_t c[3] = {10, 20, 31};
    p.SetPixel(0, 0, c);
    p.ConvertToGrey();
    uint8_t got[3];
    p.GetPixel(0, 0, got);
    EXPECT_EQ(got[0], 20);
    EXPECT_EQ(got[2], 20);
    EXPECT_EQ(p.BitsPerPixel(), 8);

    CPicture q;
    q.Create(1, 1);
    q.SetPaletteSize(4);
    const uint8_t e[4][3] = {{9, 9, 9}, {1, 1, 1}, {5, 5, 5}, {0, 0, 0}};
    for (unsigned i = 0; i < 4; ++i) q.SetPaletteEntry(i, e[i]);
    q.SortPalette();
    const uint8_t sorted[4] = {0, 1, 5, 9};
    for (unsigned i = 0; i < 4; ++i) {
        q.GetPaletteEntry(i, got);
        EXPECT_EQ(got[0], sorted[i]);
    }
}

TEST(Picture, FromDibRejectsShortBlocksAndReadsTopDown)
{
    CPicture p;
    std::vector<uint8_t> dib(40 + 8, 0);
    DibHeader h{};
    h.biSize = 40; h.biWidth = 1; h.biHeight = -2; h.biPlanes = 1; h.biBitCount = 24;
    std::memcpy(dib.data(), &h, 40);
    dib[40 + 2] = 200; // first row in memory = top row for top-down
    ASSERT_TRUE(p.FromDib(dib.data(), dib.size()));
    uint8_t got[3];
    p.GetPixel(0, 0, got);
    EXPECT_EQ(got[2], 200);
    EXPECT_FALSE(p.FromDib(dib.data(), dib.size() - 1));
    h.biBitCount = 4;
    std::memcpy(dib.data(), &h, 40);
    EXPECT_FALSE(p.FromDib(dib.data(), dib.size()));
}
