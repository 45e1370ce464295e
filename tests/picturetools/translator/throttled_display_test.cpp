// The translator's run checks the file bar at most every few hundredths of a second: positions
// in between stay away from the window, cancel still comes through, and nesting, ranges and
// texts reach the window as they are given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/progress.h"
#include "picturetools/translator/throttled_display.h"

namespace {
// The window's file bar: records what reaches it; cancels when told.
class RecordingSink : public CQnProgress {
public:
    bool SetPos(int64_t position, bool redraw) override
    {
        positions.push_back(position);
        if (cancelAtCheck && positions.size() >= size_t(cancelAtCheck))
            Cancel();
        return CQnProgress::SetPos(position, redraw);
    }
    std::vector<int64_t> positions;
    int cancelAtCheck = 0;
};

class FakeWindow : public IWorkingDisplay {
public:
    void SetLine1(const std::string& text) override { line1 = text; }
    void SetLine2(const std::string& text) override { line2 = text; }
    bool SetFilesDone(int done) override
    {
        filesDone = done;
        return true;
    }
    bool ResetFileBar() override
    {
        ++resets;
        sink.ResetCancel();
        return true;
    }
    CQnProgress& FileProgress() override { return sink; }
    std::string line1, line2;
    int filesDone = -1, resets = 0;
    RecordingSink sink;
};
} // namespace

TEST(ThrottledDisplay, PositionsReachTheWindowOncePerInterval)
{
    FakeWindow window;
    int64_t now = 1000;
    CThrottledDisplay display(window, [&] { return now; });
    CQnProgress& progress = display.FileProgress();
    progress.Begin();
    progress.SetRange(0, 1000);
    // A thousand reports within 100 ms (one every 0.1 ms): the first, then one per 40 ms.
    for (int i = 0; i < 1000; ++i) {
        EXPECT_TRUE(progress.SetPos(i));
        if (i % 10 == 9)
            now += 1;
    }
    EXPECT_EQ(window.sink.positions, (std::vector<int64_t>{0, 400, 800}));
    EXPECT_EQ(window.sink.High(), 1000) << "ranges go through at once";
    // After a pause the next report goes through at once.
    now += 500;
    progress.SetPos(1000);
    EXPECT_EQ(window.sink.positions.back(), 1000);
    progress.End();
    EXPECT_FALSE(window.sink.IsActive());
}

TEST(ThrottledDisplay, CancelIsSeenAtTheNextCheckAndClearedWithTheFileBar)
{
    FakeWindow window;
    window.sink.cancelAtCheck = 2;
    int64_t now = 0;
    CThrottledDisplay display(window, [&] { return now; });
    CQnProgress& progress = display.FileProgress();
    progress.Begin();
    EXPECT_TRUE(progress.SetPos(1)); // first check: not cancelled
    now += 10;
    EXPECT_TRUE(progress.SetPos(2)) << "no check yet, no cancel yet";
    now += 40;
    EXPECT_FALSE(progress.SetPos(3)) << "the second check sees the cancel";
    now += 1;
    EXPECT_FALSE(progress.SetPos(4)) << "between checks the cancel stands";
    EXPECT_TRUE(display.ResetFileBar());
    EXPECT_TRUE(progress.SetPos(5)) << "a new file starts uncancelled";
    EXPECT_EQ(window.resets, 1);
}

TEST(ThrottledDisplay, NestingTextsAndLinesPassThrough)
{
    FakeWindow window;
    CThrottledDisplay display(window, [] { return int64_t(0); });
    CQnProgress& progress = display.FileProgress();
    // A codec front end inside a recognition: two levels, left by RestoreNesting.
    const int depth = progress.Nesting();
    progress.Begin();
    progress.Begin();
    EXPECT_EQ(window.sink.Nesting(), 2);
    progress.SetText("Applying New Palette...");
    EXPECT_EQ(window.sink.Text(), "Applying New Palette...");
    progress.RestoreNesting(depth);
    EXPECT_EQ(window.sink.Nesting(), 0);
    EXPECT_EQ(progress.Nesting(), 0);

    display.SetLine1("one");
    display.SetLine2("two");
    EXPECT_TRUE(display.SetFilesDone(3));
    EXPECT_EQ(window.line1, "one");
    EXPECT_EQ(window.line2, "two");
    EXPECT_EQ(window.filesDone, 3);
}
