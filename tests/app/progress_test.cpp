#include <gtest/gtest.h>

#include "app/main_window.h"
#include "base/progress.h"

namespace {
class CountingProgress : public CQnProgress {
public:
    int refreshes = 0;
    void Refresh() override
    {
        ++refreshes;
        CQnProgress::Refresh();
    }
};
} // namespace

TEST(Progress, OutermostBeginResetsAndOnlyOutermostEndDeactivates)
{
    CountingProgress p;
    p.Begin();
    p.SetRange(10, 20);
    p.SetPos(15);
    p.SetText("outer");
    p.Begin(); // a nested operation keeps what the outer one set
    EXPECT_EQ(p.Nesting(), 2);
    EXPECT_EQ(p.Low(), 10);
    EXPECT_EQ(p.Pos(), 15);
    EXPECT_EQ(p.Text(), "outer");
    p.End(false);
    EXPECT_TRUE(p.IsActive());
    p.End(false);
    EXPECT_FALSE(p.IsActive());
    p.End(false); // never below zero
    EXPECT_EQ(p.Nesting(), 0);

    p.Begin();
    EXPECT_EQ(p.Low(), 0);
    EXPECT_EQ(p.High(), 100);
    EXPECT_EQ(p.Pos(), 0);
    EXPECT_EQ(p.Text(), "");
}

TEST(Progress, ForcedEndDeactivatesWhateverTheCount)
{
    CQnProgress p;
    p.Begin();
    p.Begin();
    p.Begin();
    p.End(true);
    EXPECT_FALSE(p.IsActive());
    EXPECT_EQ(p.Nesting(), 0);
}

TEST(Progress, InactiveSinkChangesNothing)
{
    CountingProgress p;
    p.SetRange(5, 9);
    EXPECT_TRUE(p.SetPos(3));
    p.SetText("x");
    EXPECT_EQ(p.Low(), 0);
    EXPECT_EQ(p.High(), 100);
    EXPECT_EQ(p.Pos(), 0);
    EXPECT_EQ(p.Text(), "");
    EXPECT_EQ(p.refreshes, 0);
}

TEST(Progress, EmptyRangeWidensAndUnchangedPositionIsFree)
{
    CountingProgress p;
    p.Begin();
    p.SetRange(5, 5);
    EXPECT_EQ(p.Low(), 5);
    EXPECT_EQ(p.High(), 6);
    p.SetPos(5);
    int before = p.refreshes;
    EXPECT_TRUE(p.SetPos(5));
    EXPECT_EQ(p.refreshes, before);
    EXPECT_FALSE(p.IsDirty());
    p.SetPos(6, false); // no redraw: stays dirty until the next Refresh
    EXPECT_TRUE(p.IsDirty());
    EXPECT_EQ(p.refreshes, before);
}

TEST(Progress, CancelIsReportedBySetPos)
{
    CQnProgress p;
    p.Begin();
    p.Cancel();
    EXPECT_FALSE(p.SetPos(1));
    EXPECT_FALSE(p.SetPos(1)) << "an unchanged position still reports the cancel";
}

TEST(Progress, FrontEndRestoresItsNesting)
{
    CQnProgress p;
    p.Begin();
    int depth = p.Nesting();
    p.Begin();
    p.Begin(); // left unbalanced by an exception
    p.RestoreNesting(depth);
    EXPECT_EQ(p.Nesting(), 1);
    EXPECT_TRUE(p.IsActive());
}

TEST(Progress, UnknownStatusCodeGivesEmptyText)
{
    CQnProgress p;
    p.Begin();
    p.SetText("before");
    p.SetTextById(12345);
    EXPECT_EQ(p.Text(), "");
}

namespace {
int g_begins = 0;
int32_t g_low = -1, g_high = -1;
std::string g_text;
bool StopAtTen(int64_t position) { return position < 10; }
} // namespace

TEST(CallbackProgress, CallsItsFunctionsAndTheirAnswerCancels)
{
    CQnCallbackProgress p;
    p.onBegin = [] { ++g_begins; };
    p.onRange = [](int32_t low, int32_t high) { g_low = low, g_high = high; };
    p.onText = [](const std::string& t) { g_text = t; };
    p.onPos = StopAtTen;
    p.Begin();
    p.SetRange(1, 50);
    p.SetText("working");
    EXPECT_EQ(g_begins, 1);
    EXPECT_EQ(g_low, 1);
    EXPECT_EQ(g_high, 50);
    EXPECT_EQ(g_text, "working");
    EXPECT_TRUE(p.SetPos(9));
    EXPECT_FALSE(p.SetPos(10));
    EXPECT_FALSE(p.SetPos(3)) << "once cancelled, the operation stays cancelled";
    p.End();

    CQnCallbackProgress bare; // without functions it behaves as the base and continues
    bare.Begin();
    EXPECT_TRUE(bare.SetPos(7));
    EXPECT_EQ(bare.Pos(), 7);
}

TEST(CallbackProgress, MainWindowSinkIsOneProcessWideInstance)
{
    EXPECT_EQ(&MainWindowProgress(), &MainWindowProgress());
    EXPECT_FALSE(MainWindowProgress().IsActive());
}
