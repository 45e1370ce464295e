// Balloon tooltips on a real window: the status callback, the balloon after the delay, and
// its placement near the cursor and near the screen's corner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/support/screen_win.h"
#include "app/tooltip_settings.h"
#include "framework/frame.h"
#include "shell/controls/dx_tooltip_win.h"
#include "test_window_win.h"

using namespace controls_test;

namespace {
class ToolTip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProcessTooltipSettings() = TooltipSettings{};
        ProcessTooltipSettings().showDelay = 20;
        owner = CreateTestWindow("Tooltip test", 100, 100, 400, 260);
        ASSERT_NE(owner, nullptr);
        button = CreateWindowExA(0, "BUTTON", "Add", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 120, 30, owner,
                                 reinterpret_cast<HMENU>(101), GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(tip.AttachOwner(owner, [this](const std::string& text) { statuses.push_back(text); }));
        PumpMessages();
    }
    void TearDown() override
    {
        tip.Detach();
        DestroyWindow(owner);
        PumpMessages();
    }

    // Puts the cursor at a point of `window`'s client area and relays the movement.
    POINT MoveTo(HWND window, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(window, &p);
        SetCursorPos(p.x, p.y);
        MSG move{};
        move.hwnd = window;
        move.message = WM_MOUSEMOVE;
        move.lParam = MAKELPARAM(x, y);
        move.pt = p;
        tip.RelayEvent(move);
        return p;
    }
    static HWND Balloon() { return FindThreadWindow("DxToolTipBalloon"); }
    static bool BalloonVisible() { return Balloon() && IsWindowVisible(Balloon()); }

    HWND owner = nullptr;
    HWND button = nullptr;
    CDxToolTip tip;
    std::vector<std::string> statuses;
};
} // namespace

TEST_F(ToolTip, ShowsBesideTheCursorAfterTheDelayAndHidesWhenLeaving)
{
    tip.AddTool(button, "Adds picture(s) to the list");
    tip.AddTool(RECT{200, 100, 300, 200}, "A rectangle");
    ASSERT_NE(Balloon(), nullptr);
    EXPECT_FALSE(BalloonVisible());

    const POINT cursor = MoveTo(button, 30, 10);
    EXPECT_EQ(statuses, std::vector<std::string>{"Adds picture(s) to the list"});
    EXPECT_FALSE(BalloonVisible()); // not before the delay
    ASSERT_TRUE(PumpUntil(BalloonVisible));
    RECT r{};
    GetWindowRect(Balloon(), &r);
    EXPECT_GE(r.top, cursor.y);
    EXPECT_LT(r.top, cursor.y + 10);
    EXPECT_LE(r.left, cursor.x);
    EXPECT_GT(r.right, cursor.x + 100);

    // Over the rectangle tool the text changes; over empty space it is cleared.
    MoveTo(owner, 250, 150);
    EXPECT_FALSE(BalloonVisible());
    MoveTo(owner, 390, 250);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Adds picture(s) to the list", "A rectangle", ""}));

    // The cursor leaving the owner's windows altogether hides a shown balloon.
    MoveTo(owner, 250, 150);
    ASSERT_TRUE(PumpUntil(BalloonVisible));
    SetCursorPos(5, 5);
    EXPECT_TRUE(PumpUntil([] { return !BalloonVisible(); }));
    EXPECT_EQ(statuses.back(), "");
}

TEST_F(ToolTip, AToolWithoutTextTakesItsWindowText)
{
    tip.AddTool(button);
    MoveTo(button, 5, 5);
    EXPECT_EQ(statuses, std::vector<std::string>{"Add"});
}

TEST_F(ToolTip, FrameworkMessagesAreRelayedUntilDetached)
{
    tip.AddTool(button, "Tip");
    tip.RelayFrameworkMessages();
    POINT p{5, 5};
    ClientToScreen(button, &p);
    MSG move{};
    move.hwnd = button;
    move.message = WM_MOUSEMOVE;
    move.pt = p;
    PreTranslateFrameworkMessage(move);
    EXPECT_EQ(statuses, std::vector<std::string>{"Tip"});
    tip.Detach();
    move.hwnd = owner;
    move.pt = {0, 0};
    PreTranslateFrameworkMessage(move);
    EXPECT_EQ(statuses.size(), 1u);
}

TEST_F(ToolTip, DisabledTooltipsOnlyReportTheStatus)
{
    ProcessTooltipSettings().enable = false;
    ProcessTooltipSettings().showDelay = 1;
    tip.AddTool(button, "Tip");
    MoveTo(button, 5, 5);
    EXPECT_FALSE(PumpUntil(BalloonVisible, 300));
    EXPECT_EQ(statuses, std::vector<std::string>{"Tip"});
}

TEST_F(ToolTip, NearTheBottomRightCornerTheBalloonStaysOnScreen)
{
    const int cx = GetSystemMetrics(SM_CXFULLSCREEN), cy = GetSystemMetrics(SM_CYFULLSCREEN);
    SetWindowPos(owner, nullptr, cx - 300, cy - 200, 300, 200, SWP_NOZORDER);
    RECT client{};
    GetClientRect(owner, &client);
    tip.AddTool(client, "A long tip near the corner of the screen");
    MoveTo(owner, client.right - 2, client.bottom - 2);
    ASSERT_TRUE(PumpUntil(BalloonVisible));
    RECT r{};
    GetWindowRect(Balloon(), &r);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, cx);
    EXPECT_LE(r.bottom, cy);
    EXPECT_GT(r.right - r.left, 100);
    SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/shell/controls/tooltip_corner.bmp");
}
