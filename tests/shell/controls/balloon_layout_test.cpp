#include <gtest/gtest.h>

#include "shell/controls/balloon_layout.h"

using namespace balloon;

namespace {
const Size kScreen{1024, 738};
const Size kText{120, 16};
const Margins kMargins{};
const Size kShadow{4, 4};

// The tip lies at the pointer's third point; body and pointer must stay inside the window,
// and the window inside the screen.
void ExpectWellFormed(const Layout& layout, Size screen, Size text = kText)
{
    EXPECT_GE(layout.window.left, 0);
    EXPECT_GE(layout.window.top, 0);
    EXPECT_LE(layout.window.right, screen.cx);
    EXPECT_LE(layout.window.bottom, screen.cy);
    const Rect local{0, 0, layout.window.Width(), layout.window.Height()};
    EXPECT_GE(layout.body.left, 0);
    EXPECT_GE(layout.body.top, 0);
    EXPECT_LE(layout.body.right, local.right);
    EXPECT_LE(layout.body.bottom, local.bottom);
    for (const Point& p : layout.pointer)
        EXPECT_TRUE(local.Contains(p)) << p.x << "," << p.y;
    EXPECT_GE(layout.text.Width(), text.cx);
    EXPECT_GE(layout.text.Height(), text.cy);
}

Point TipOnScreen(const Layout& layout)
{
    return {layout.window.left + layout.pointer[2].x, layout.window.top + layout.pointer[2].y};
}
} // namespace

TEST(BalloonLayout, LiesBelowRightOfTheCursorWithThePointerAtIt)
{
    const Point cursor{300, 200};
    const Layout layout = LayoutBalloon(kText, kMargins, cursor, kScreen, kShadow);
    ExpectWellFormed(layout, kScreen);
    EXPECT_TRUE(layout.pointsUp);
    EXPECT_TRUE(layout.pointerOnLeft);
    const Point tip = TipOnScreen(layout);
    EXPECT_EQ(tip.x, cursor.x);
    EXPECT_EQ(tip.y, cursor.y + kTipGap);
    // The body hangs below the tip; the shadow widens the window.
    EXPECT_EQ(layout.body.top, layout.pointer[2].y + kPointerHeight);
    EXPECT_EQ(layout.pointer[0].y, layout.body.top);
    EXPECT_EQ(layout.window.Width(), layout.body.Width() + kShadow.cx);
    EXPECT_EQ(layout.text.Width(), kText.cx);
}

TEST(BalloonLayout, NearTheBottomRightCornerFlipsAndStaysOnScreen)
{
    for (const Point cursor : {Point{1023, 737}, Point{1010, 730}, Point{1100, 900}}) {
        const Layout layout = LayoutBalloon(kText, kMargins, cursor, kScreen, kShadow);
        ExpectWellFormed(layout, kScreen);
        EXPECT_FALSE(layout.pointsUp);
        EXPECT_FALSE(layout.pointerOnLeft);
        // The body is above the tip, so it does not cover the cursor.
        EXPECT_EQ(layout.pointer[0].y, layout.body.bottom - 1);
        EXPECT_LT(layout.body.bottom, layout.pointer[2].y + 1);
    }
}

TEST(BalloonLayout, NearTheTopLeftCornerStaysOnScreen)
{
    const Layout layout = LayoutBalloon(kText, kMargins, {0, 0}, kScreen, kShadow);
    ExpectWellFormed(layout, kScreen);
    EXPECT_TRUE(layout.pointsUp);
    EXPECT_EQ(TipOnScreen(layout), (Point{0, kTipGap}));
}

TEST(BalloonLayout, ABalloonWiderThanTheScreenStartsAtItsLeftEdge)
{
    const Layout layout = LayoutBalloon({2000, 16}, kMargins, {500, 300}, kScreen, kShadow);
    EXPECT_EQ(layout.window.left, 0);
    EXPECT_GE(layout.window.top, 0);
    EXPECT_LE(layout.window.bottom, kScreen.cy);
}

TEST(BalloonLayout, EmptyTextStillGivesRoomForCornersAndPointer)
{
    const Layout layout = LayoutBalloon({0, 0}, {0, 0}, {400, 400}, kScreen, {0, 0});
    ExpectWellFormed(layout, kScreen, {0, 0});
    EXPECT_GE(layout.body.Height(), kCornerDiameter);
    EXPECT_GE(layout.body.Width(), 2 * kPointerInset + kPointerWidth);
    EXPECT_GE(layout.pointer[0].x, layout.body.left + kCornerDiameter / 2);
    EXPECT_LE(layout.pointer[1].x, layout.body.right - kCornerDiameter / 2);
}
