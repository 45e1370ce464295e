// One Start of the finder without its window: duplicates, search in list, the cap and Stop.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/progress.h"
#include "filetools/finder/finder_run.h"

namespace fs = std::filesystem;

namespace {
// The view's part: a result array, a running flag and the cap's message.
struct FakeView {
    std::vector<std::string> results;
    bool running = true;
    int tooMany = 0;
    int pumps = 0;

    FinderHooks Hooks()
    {
        return {[this] { results.clear(); }, [this] { ++pumps; },
                [this](const std::string& path) { results.push_back(path); }, [this] { return running; },
                [this] { ++tooMany; }};
    }
    FinderOutcome Run(const FinderRequest& request, CQnProgress& progress = CQnProgress::Silent())
    {
        const std::vector<std::string> listed = results;
        return RunFinderSearch(request, listed, Hooks(), progress);
    }
};

struct Tree {
    Tree() : root(fs::temp_directory_path() / ("qn_finder_run_" + std::to_string(::getpid())))
    {
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~Tree()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    void Files(const std::string& folder, int count, const std::string& extension) const
    {
        fs::create_directories(root / folder);
        for (int i = 0; i < count; ++i)
            std::ofstream(root / folder / ("f" + std::to_string(i) + extension)) << "x";
    }
    FinderRequest Request(const std::string& patterns, bool deep = true) const
    {
        FinderRequest request;
        request.search = {patterns, root.string(), deep, false};
        return request;
    }
    fs::path root;
};

// Clears the running flag the first time a folder is entered, as Stop pressed then would.
class StopWhileCollecting : public CQnProgress {
public:
    explicit StopWhileCollecting(bool& running) : m_running(running) {}
    void SetText(const std::string& text, bool redraw) override
    {
        if (text.rfind("Searching directories", 0) == 0)
            m_running = false;
        CQnProgress::SetText(text, redraw);
    }

private:
    bool& m_running;
};
} // namespace

TEST(FinderRun, AFileFoundTwiceWithAddToListIsListedOnce)
{
    Tree tree;
    tree.Files("a", 3, ".txt");
    FakeView view;
    view.Run(tree.Request("*.txt"));
    ASSERT_EQ(view.results.size(), 3u);
    FinderRequest again = tree.Request("*.txt;f0*");
    again.addToList = true;
    const FinderOutcome outcome = view.Run(again);
    EXPECT_EQ(view.results.size(), 3u);
    EXPECT_EQ(outcome.added, 0u);
    tree.Files("b", 2, ".txt");
    view.Run(again);
    EXPECT_EQ(view.results.size(), 5u);
    again.addToList = false; // a plain search starts afresh
    view.Run(tree.Request("*.none"));
    EXPECT_TRUE(view.results.empty());
}

TEST(FinderRun, SearchInListKeepsOnlyTheEarlierResultsThatMatch)
{
    Tree tree;
    tree.Files("a", 2, ".txt");
    tree.Files("a", 2, ".doc");
    FakeView view;
    view.Run(tree.Request("*"));
    ASSERT_EQ(view.results.size(), 4u);
    tree.Files("b", 3, ".txt"); // new on disk, but not among the results
    FinderRequest request = tree.Request("*.txt");
    request.searchInList = true;
    const FinderOutcome outcome = view.Run(request);
    EXPECT_TRUE(outcome.searchedInList);
    ASSERT_EQ(view.results.size(), 2u);
    for (const std::string& path : view.results)
        EXPECT_EQ(fs::path(path).parent_path(), tree.root / "a") << path;
}

TEST(FinderRun, SearchInListWithoutResultsSearchesTheFolder)
{
    Tree tree;
    tree.Files("a", 2, ".txt");
    FakeView view;
    FinderRequest request = tree.Request("*.txt");
    request.searchInList = true;
    EXPECT_FALSE(view.Run(request).searchedInList);
    EXPECT_EQ(view.results.size(), 2u);
}

TEST(FinderRun, FiveThousandMatchesStopAtTheCapWithItsMessage)
{
    Tree tree;
    for (int folder = 0; folder < 5; ++folder)
        tree.Files("d" + std::to_string(folder), 1000, ".bmp");
    FakeView view;
    const FinderOutcome outcome = view.Run(tree.Request("*.bmp"));
    EXPECT_EQ(outcome.end, FileSearchEnd::Stopped);
    EXPECT_EQ(view.results.size(), kMaxFinderResults);
    EXPECT_EQ(view.tooMany, 1);
    EXPECT_EQ(view.pumps, static_cast<int>(kMaxFinderResults)); // the window was kept alive per match
}

TEST(FinderRun, StopWhileCollectingTakesEffectAtTheFirstMatch)
{
    Tree tree;
    tree.Files("a", 5, ".txt");
    tree.Files("b", 5, ".txt");
    FakeView view;
    StopWhileCollecting progress(view.running);
    const FinderOutcome outcome = view.Run(tree.Request("*.txt"), progress);
    EXPECT_FALSE(view.running);
    EXPECT_EQ(outcome.end, FileSearchEnd::Stopped);
    EXPECT_EQ(view.results.size(), 1u);
    EXPECT_EQ(view.tooMany, 0);
}

TEST(FinderResultGate, SkipsListedPathsAndReportsTheCap)
{
    FinderResultGate gate({"/a"}, 3);
    EXPECT_EQ(gate.Offer("/a"), FinderResultGate::Outcome::Duplicate);
    EXPECT_EQ(gate.Offer("/b"), FinderResultGate::Outcome::Added);
    EXPECT_EQ(gate.Offer("/b"), FinderResultGate::Outcome::Duplicate);
    EXPECT_EQ(gate.Offer("/c"), FinderResultGate::Outcome::Full);
}
