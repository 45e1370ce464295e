#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"

namespace {

// Smooth gradients with a little deterministic noise: many distinct colours, like a photo.
void FillPhotoLike(CPicture& p, int w, int h)
{
    ASSERT_TRUE(p.Create(w, h));
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245 + 12345;
            const int noise = int(seed >> 28) - 8;
            const uint8_t bgr[3] = {uint8_t(std::clamp(x * 255 / w + noise, 0, 255)),
                                    uint8_t(std::clamp(y * 255 / h + noise, 0, 255)),
                                    uint8_t(std::clamp((x + y) * 127 / (w + h) + 64 + noise, 0, 255))};
            p.SetPixel(x, y, bgr);
        }
    }
}

std::set<uint32_t> PaletteColours(const CPicture& p)
{
    std::set<uint32_t> colours;
    for (unsigned i = 0; i < p.PaletteSize(); ++i) {
        const uint8_t* e = p.Palette() + i * 3;
        colours.insert(e[0] << 16 | e[1] << 8 | e[2]);
    }
    return colours;
}

std::vector<uint8_t> Pixels(const CPicture& p)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < p.Height(); ++y)
        out.insert(out.end(), p.Row(y), p.Row(y) + p.Width() * 3);
    return out;
}

class CancelAfter : public CQnProgress {
public:
    explicit CancelAfter(int calls) : m_left(calls) {}
    bool SetPos(int64_t, bool) override { return --m_left > 0; }

private:
    int m_left;
};

} // namespace

TEST(ColourReduction, PhotoReducesToTargetPaletteAndIsStable)
{
    for (unsigned target : {256u, 16u, 2u}) {
        for (int mode : {kMapNearest, kMapDiffuse}) {
            SCOPED_TRACE(testing::Message() << "target " << target << " mode " << mode);
            CPicture p;
            FillPhotoLike(p, 160, 120);
            ASSERT_TRUE(ReduceColours(p, 0, 0, p.Width(), p.Height(), target, mode, nullptr));
            ASSERT_EQ(p.PaletteSize(), target);
            const std::set<uint32_t> palette = PaletteColours(p);
            for (int y = 0; y < p.Height(); ++y)
                for (int x = 0; x < p.Width(); ++x) {
                    const uint8_t* px = p.Row(y) + x * 3;
                    ASSERT_TRUE(palette.count(px[0] << 16 | px[1] << 8 | px[2])) << x << "," << y;
                }
            // Reducing again, even after dropping the palette, keeps every pixel.
            const std::vector<uint8_t> before = Pixels(p);
            ASSERT_TRUE(ReduceColours(p, 0, 0, p.Width(), p.Height(), target, mode, nullptr));
            p.SetBitsPerPixel(24);
            ASSERT_TRUE(ReduceColours(p, 0, 0, p.Width(), p.Height(), target, mode, nullptr));
            EXPECT_EQ(Pixels(p), before);
            EXPECT_EQ(p.PaletteSize(), target);
        }
    }
}

TEST(ColourReduction, FewColoursKeepPixelsAndComeInKeyOrderPaddedWithBlack)
{
    CPicture p;
    ASSERT_TRUE(p.Create(3, 2));
    const uint8_t a[3] = {9, 0, 0}, b[3] = {0, 0, 200}, c[3] = {0, 255, 255}; // keys: b < c < a
    p.SetPixel(0, 0, a);
    p.SetPixel(1, 0, b);
    p.SetPixel(2, 0, c);
    p.SetPixel(0, 1, a);
    p.SetPixel(1, 1, a);
    p.SetPixel(2, 1, a); // the highest key occurs many times; c (a single pixel) is counted too
    const std::vector<uint8_t> before = Pixels(p);
    ASSERT_TRUE(ReduceColours(p, 0, 0, 3, 2, 16, kMapDiffuse, nullptr));
    EXPECT_EQ(Pixels(p), before);
    ASSERT_EQ(p.PaletteSize(), 16u);
    EXPECT_EQ(p.BitsPerPixel(), 4);
    EXPECT_EQ(0, std::memcmp(p.Palette(), b, 3));
    EXPECT_EQ(0, std::memcmp(p.Palette() + 3, c, 3));
    EXPECT_EQ(0, std::memcmp(p.Palette() + 6, a, 3));
    for (unsigned i = 3; i < 16; ++i)
        EXPECT_EQ(p.Palette()[i * 3] | p.Palette()[i * 3 + 1] | p.Palette()[i * 3 + 2], 0);
}

TEST(ColourReduction, PaletteOfTargetSizeIsLeftAlone)
{
    CPicture p;
    FillPhotoLike(p, 20, 20);
    p.SetPaletteSize(16);
    const std::vector<uint8_t> before = Pixels(p);
    EXPECT_TRUE(ReduceColours(p, 0, 0, 20, 20, 16, kMapDiffuse, nullptr));
    EXPECT_EQ(Pixels(p), before);
}

TEST(ColourReduction, LargerPaletteIsReplacedByOneOfTheTargetSize)
{
    // A picture read from an 8-bit file reduced to 16 colours must end with 16 entries and depth
    // 4, not keep its 256-entry palette.
    CPicture p;
    FillPhotoLike(p, 40, 30);
    p.SetPaletteSize(256);
    ASSERT_TRUE(ReduceColours(p, 0, 0, 40, 30, 16, kMapDiffuse, nullptr));
    EXPECT_EQ(p.PaletteSize(), 16u);
    EXPECT_EQ(p.BitsPerPixel(), 4);
}

TEST(ColourReduction, BlackAndWhiteDitherAlternatesGreyAndRestartsEachRow)
{
    CPicture p;
    ASSERT_TRUE(p.Create(8, 2));
    const uint8_t grey[3] = {128, 128, 128};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            p.SetPixel(x, y, grey);
    const uint8_t bw[6] = {0, 0, 0, 255, 255, 255};
    ApplyPalette(p, 0, 0, 8, 2, 2, bw, kMapDiffuse, nullptr);
    EXPECT_EQ(p.PaletteSize(), 2u);
    EXPECT_EQ(p.BitsPerPixel(), 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(p.Row(y)[x * 3], x % 2 == 0 ? 255 : 0) << x << "," << y; // each row starts alike
}

TEST(ColourReduction, NearestModeMapsToClosestEntryAndRectangleOnly)
{
    CPicture p;
    ASSERT_TRUE(p.Create(4, 1));
    const uint8_t dark[3] = {10, 20, 30}, light[3] = {200, 220, 240};
    for (int x = 0; x < 4; ++x)
        p.SetPixel(x, 0, x < 2 ? dark : light);
    const uint8_t palette[6] = {0, 0, 0, 255, 255, 255};
    ApplyPalette(p, 1, 0, 3, 1, 2, palette, kMapNearest, nullptr);
    EXPECT_EQ(0, std::memcmp(p.Row(0), dark, 3)); // outside the rectangle
    EXPECT_EQ(p.Row(0)[3], 0);
    EXPECT_EQ(p.Row(0)[6], 255);
    EXPECT_EQ(0, std::memcmp(p.Row(0) + 9, light, 3));
}

TEST(ColourReduction, CancelBeforeMappingLeavesPictureUnchanged)
{
    CPicture p;
    FillPhotoLike(p, 64, 64);
    const std::vector<uint8_t> before = Pixels(p);
    CancelAfter cancel(2);
    EXPECT_FALSE(ReduceColours(p, 0, 0, 64, 64, 16, kMapDiffuse, &cancel));
    EXPECT_EQ(Pixels(p), before);
    EXPECT_EQ(p.PaletteSize(), 0u);
    EXPECT_EQ(cancel.Nesting(), 0);
}
