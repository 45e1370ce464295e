#include <gtest/gtest.h>

#include <vector>

#include "base/progress.h"
#include "picture/picture.h"
#include "picturetools/core/scaling.h"

namespace {

// A one-row (or one-column) grey picture with the given levels.
void MakeLine(CPicture& p, const std::vector<int>& levels, bool vertical = false)
{
    const int n = static_cast<int>(levels.size());
    ASSERT_TRUE(vertical ? p.Create(1, n) : p.Create(n, 1));
    for (int i = 0; i < n; ++i) {
        const uint8_t v = static_cast<uint8_t>(levels[i]);
        const uint8_t bgr[3] = {v, v, v};
        vertical ? p.SetPixel(0, i, bgr) : p.SetPixel(i, 0, bgr);
    }
}

std::vector<int> Levels(const CPicture& p, bool vertical = false)
{
    std::vector<int> out;
    const int n = vertical ? p.Height() : p.Width();
    for (int i = 0; i < n; ++i)
        out.push_back(vertical ? p.Row(i)[0] : p.Row(0)[i * 3]);
    return out;
}

class CancelAlways : public CQnProgress {
public:
    bool SetPos(int64_t, bool) override { return false; }
};

} // namespace

TEST(Scaling, ShrinkAveragesAndEnlargeInterpolatesOnBothAxes)
{
    for (bool vertical : {false, true}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        CPicture p;
        MakeLine(p, {10, 20, 30, 40}, vertical);
        ASSERT_TRUE(vertical ? ScaleSmooth(p, 1, 2, nullptr) : ScaleSmooth(p, 2, 1, nullptr));
        EXPECT_EQ(Levels(p, vertical), (std::vector<int>{15, 35}));

        MakeLine(p, {0, 100}, vertical);
        ASSERT_TRUE(vertical ? ScaleSmooth(p, 1, 5, nullptr) : ScaleSmooth(p, 5, 1, nullptr));
        EXPECT_EQ(Levels(p, vertical), (std::vector<int>{0, 25, 50, 75, 100}));

        MakeLine(p, {0, 100, 0}, vertical);
        ASSERT_TRUE(vertical ? ScaleSmooth(p, 1, 5, nullptr) : ScaleSmooth(p, 5, 1, nullptr));
        EXPECT_EQ(Levels(p, vertical), (std::vector<int>{0, 50, 100, 50, 0}));

        MakeLine(p, {77}, vertical); // a single pixel spreads over the whole line
        ASSERT_TRUE(vertical ? ScaleSmooth(p, 1, 3, nullptr) : ScaleSmooth(p, 3, 1, nullptr));
        EXPECT_EQ(Levels(p, vertical), (std::vector<int>{77, 77, 77}));
    }
}

TEST(Scaling, KeepsAttributesPaletteAndCarriesAlpha)
{
    CPicture p;
    MakeLine(p, {10, 20, 30, 40});
    p.SetPaletteSize(4);
    p.SetName("name");
    p.SetDescription("desc");
    ASSERT_TRUE(p.CreateAlpha());
    p.SetAlpha(0, 0, 0);
    p.SetAlpha(1, 0, 100);
    ASSERT_TRUE(ScaleSmooth(p, 2, 1, nullptr));
    EXPECT_EQ(p.BitsPerPixel(), 2);
    EXPECT_EQ(p.PaletteSize(), 4u);
    EXPECT_EQ(p.Name(), "name");
    EXPECT_EQ(p.Description(), "desc");
    EXPECT_EQ(p.GetAlpha(0, 0), 50);
    EXPECT_EQ(p.GetAlpha(1, 0), 255);
}

TEST(Scaling, NearestSamplesAndSameSizeIsUnchanged)
{
    CPicture p;
    MakeLine(p, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(ScaleNearest(p, 6, 1, nullptr));
    EXPECT_EQ(Levels(p), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(ScaleNearest(p, 3, 1, nullptr));
    EXPECT_EQ(Levels(p), (std::vector<int>{1, 3, 5}));
    ASSERT_TRUE(ScaleNearest(p, 6, 2, nullptr));
    EXPECT_EQ(Levels(p), (std::vector<int>{1, 1, 3, 3, 5, 5}));
    EXPECT_EQ(p.Row(1)[3 * 3], 3);
}

TEST(Scaling, HalvingAverages2x2AndDropsOddEdges)
{
    CPicture p;
    ASSERT_TRUE(p.Create(5, 3));
    ASSERT_TRUE(p.CreateAlpha());
    const uint8_t px[4][3] = {{0, 0, 0}, {4, 8, 12}, {8, 16, 24}, {12, 24, 36}};
    p.SetPixel(0, 0, px[0]);
    p.SetPixel(1, 0, px[1]);
    p.SetPixel(0, 1, px[2]);
    p.SetPixel(1, 1, px[3]);
    p.SetAlpha(0, 0, 0);
    for (bool viaAlpha : {false, true}) {
        CPicture q;
        ASSERT_TRUE(q.CopyFrom(p));
        ASSERT_TRUE(viaAlpha ? ScaleSmoothAlpha(q, 2, 1, nullptr) : HalvePicture(q));
        ASSERT_EQ(q.Width(), 2);
        ASSERT_EQ(q.Height(), 1);
        EXPECT_EQ(q.Row(0)[0], 6);
        EXPECT_EQ(q.Row(0)[1], 12);
        EXPECT_EQ(q.Row(0)[2], 18);
        EXPECT_EQ(q.GetAlpha(0, 0), (255 * 3) >> 2);
    }
}

TEST(Scaling, CancelLeavesPictureAsItWas)
{
    CPicture p;
    MakeLine(p, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120});
    CancelAlways cancel;
    EXPECT_FALSE(ScaleSmooth(p, 3, 1, &cancel));
    EXPECT_FALSE(ScaleNearest(p, 3, 1, &cancel));
    EXPECT_EQ(p.Width(), 12);
    EXPECT_EQ(Levels(p)[11], 120);
    EXPECT_EQ(cancel.Nesting(), 0);
}

TEST(Scaling, LargeShrinkBothAxesMatchesBlockAverage)
{
    CPicture p;
    ASSERT_TRUE(p.Create(400, 300));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const uint8_t bgr[3] = {uint8_t(x / 4), uint8_t(y / 3), uint8_t((x / 4 + y / 3) & 0xFF)};
            p.SetPixel(x, y, bgr);
        }
    ASSERT_TRUE(ScaleSmooth(p, 100, 100, nullptr));
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 100; x += 9) {
            uint8_t got[3];
            p.GetPixel(x, y, got);
            EXPECT_EQ(got[0], x);
            EXPECT_EQ(got[1], y);
        }
}
