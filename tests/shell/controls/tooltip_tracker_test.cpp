#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "shell/controls/tooltip_tracker.h"

namespace {
using State = CTooltipTracker::State;

// Records the listener calls as "change N", "show N", "hide".
struct Recorder : ITooltipListener {
    std::vector<std::string> calls;
    void OnToolChanged(int tool) override { calls.push_back("change " + std::to_string(tool)); }
    void OnShow(int tool) override { calls.push_back("show " + std::to_string(tool)); }
    void OnHide() override { calls.push_back("hide"); }
};

class Tracker : public ::testing::Test {
protected:
    std::vector<std::string> Take() { return std::exchange(recorder.calls, {}); }
    Recorder recorder;
    CTooltipTracker tracker{recorder};
};
using Calls = std::vector<std::string>;
} // namespace

TEST(FindToolAt, FirstToolInListOrderWins)
{
    const std::vector<balloon::Rect> tools = {{0, 0, 10, 10}, {5, 5, 20, 20}, {0, 0, 100, 100}};
    EXPECT_EQ(FindToolAt(tools, {7, 7}), 0);
    EXPECT_EQ(FindToolAt(tools, {10, 10}), 1); // right and bottom edges are outside
    EXPECT_EQ(FindToolAt(tools, {50, 50}), 2);
    EXPECT_EQ(FindToolAt(tools, {100, 5}), -1);
}

TEST_F(Tracker, ShowsAfterTheDelayWhileTheCursorStaysOnTheTool)
{
    tracker.OnMouseMove(2, true, 3);
    EXPECT_EQ(Take(), Calls{"change 2"});
    EXPECT_EQ(tracker.CurrentState(), State::CountingDown);
    tracker.OnTick(2, true);
    tracker.OnTick(2, true);
    EXPECT_TRUE(Take().empty());
    tracker.OnMouseMove(2, true, 3); // moving within the tool does not restart the countdown
    tracker.OnTick(2, true);
    EXPECT_EQ(Take(), Calls{"show 2"});
    EXPECT_EQ(tracker.CurrentState(), State::Shown);
    tracker.OnTick(2, true);
    EXPECT_TRUE(Take().empty());
}

TEST_F(Tracker, ShowDelayZeroBehavesAsOne)
{
    tracker.OnMouseMove(0, true, 0);
    EXPECT_EQ(tracker.CurrentState(), State::CountingDown);
    tracker.OnTick(0, true);
    EXPECT_EQ(Take(), (Calls{"change 0", "show 0"}));
}

TEST_F(Tracker, LeavingToolOrOwnerHidesAndClearsTheStatusOnce)
{
    tracker.OnMouseMove(1, true, 1);
    tracker.OnTick(1, true);
    Take();
    tracker.OnTick(1, false); // the cursor went to another program's window
    EXPECT_EQ(Take(), (Calls{"hide", "change -1"}));
    EXPECT_EQ(tracker.CurrentState(), State::Idle);
    tracker.OnMouseMove(-1, true, 1);
    tracker.OnTick(-1, true);
    EXPECT_TRUE(Take().empty());

    tracker.OnMouseMove(1, true, 1);
    tracker.OnTick(1, true);
    Take();
    tracker.OnMouseMove(-1, true, 1);
    EXPECT_EQ(Take(), (Calls{"hide", "change -1"}));
}

TEST_F(Tracker, MovingToAnotherToolHidesAndStartsOver)
{
    tracker.OnMouseMove(0, true, 1);
    tracker.OnTick(0, true);
    Take();
    tracker.OnMouseMove(3, true, 2);
    EXPECT_EQ(Take(), (Calls{"hide", "change 3"}));
    tracker.OnTick(3, true);
    EXPECT_TRUE(Take().empty());
    tracker.OnTick(3, true);
    EXPECT_EQ(Take(), Calls{"show 3"});
}

TEST_F(Tracker, CountdownEndingElsewhereShowsNothing)
{
    tracker.OnMouseMove(0, true, 1);
    Take();
    tracker.OnTick(-1, true);
    EXPECT_EQ(Take(), Calls{"change -1"});
    EXPECT_EQ(tracker.CurrentTool(), -1);
}

TEST_F(Tracker, DisabledTooltipsStillReportTheToolButNeverShow)
{
    tracker.OnMouseMove(4, false, 1);
    for (int i = 0; i < 5; ++i)
        tracker.OnTick(4, true);
    EXPECT_EQ(Take(), Calls{"change 4"});
    EXPECT_EQ(tracker.CurrentState(), State::Idle);
    tracker.Reset();
    EXPECT_EQ(Take(), Calls{"change -1"});
}
