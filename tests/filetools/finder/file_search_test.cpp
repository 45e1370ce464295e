// The search engine on a temporary folder tree: start points, collection order, matching and
// its progress texts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/folder_listing.h"
#include "base/progress.h"
#include "filetools/finder/file_search.h"
#include "filetools/finder/search_drives.h"

namespace fs = std::filesystem;

namespace {
struct Tree {
    Tree() : root(fs::temp_directory_path() / ("qn_finder_" + std::to_string(::getpid())))
    {
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~Tree()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    void File(const std::string& relative) const
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    std::string Path(const std::string& relative = {}) const
    {
        return relative.empty() ? root.string() : (root / relative).string();
    }
    fs::path root;
};

// Records every text and the range; SetPos answers false once `cancelAt` is reached.
class RecordingProgress : public CQnProgress {
public:
    void SetText(const std::string& text, bool redraw) override
    {
        texts.push_back(text);
        CQnProgress::SetText(text, redraw);
    }
    bool SetPos(int64_t position, bool redraw) override
    {
        CQnProgress::SetPos(position, redraw);
        return position < cancelAt;
    }
    std::vector<std::string> texts;
    int64_t cancelAt = INT64_MAX;
};

std::vector<std::string> Search(const FileSearchRequest& request, CQnProgress& progress = CQnProgress::Silent())
{
    std::vector<std::string> found;
    FileSearch(request, [&](const std::string& path) { found.push_back(path); return true; }, progress);
    std::sort(found.begin(), found.end());
    return found;
}

size_t Count(const std::vector<std::string>& texts, const std::string& start)
{
    return static_cast<size_t>(std::count_if(texts.begin(), texts.end(),
                                              [&](const std::string& t) { return t.rfind(start, 0) == 0; }));
}
} // namespace

TEST(FileSearch, TwoPatternsFindBothKindsAndAFinalSemicolonChangesNothing)
{
    Tree tree;
    for (const char* name : {"a.bmp", "b.GIF", "c.txt", "d.bmp.bak"})
        tree.File(name);
    FileSearchRequest request{"*.bmp;*.gif", tree.Path(), false, false};
    EXPECT_EQ(Search(request), (std::vector<std::string>{tree.Path("a.bmp"), tree.Path("b.GIF"), tree.Path("d.bmp.bak")}));
    request.patterns = "*.bmp;";
    const std::vector<std::string> withSemicolon = Search(request);
    request.patterns = "*.bmp";
    EXPECT_EQ(withSemicolon, Search(request));
    EXPECT_EQ(withSemicolon.size(), 2u);
}

TEST(FileSearch, FindsNamesOnlyABacktrackingStarMatches)
{
    Tree tree;
    for (const char* name : {"my.notes.txt", "aab", "notes.doc"})
        tree.File(name);
    EXPECT_EQ(Search({"*.txt;*ab", tree.Path(), false, false}),
              (std::vector<std::string>{tree.Path("aab"), tree.Path("my.notes.txt")}));
}

TEST(FileSearch, SubFoldersOnlyWhenAskedAndFolderNamesAreNotMatched)
{
    Tree tree;
    tree.File("top.txt");
    tree.File("deep/er/low.txt");
    fs::create_directories(tree.root / "folder.txt");
    EXPECT_EQ(Search({"*.txt", tree.Path(), false, false}), std::vector<std::string>{tree.Path("top.txt")});
    EXPECT_EQ(Search({"*.txt", tree.Path() + "/", true, false}),
              (std::vector<std::string>{tree.Path("deep/er/low.txt"), tree.Path("top.txt")}));
}

TEST(FileSearch, CollectsDepthFirstInListingOrderEnteringEachSubFolderWhenMet)
{
    Tree tree;
    for (const char* name : {"1", "2", "s/3", "s/t/4", "u/5", "6"})
        tree.File(name);
    // The expected order follows the listing's own order, whatever the file system chooses.
    std::vector<std::string> expected;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
        std::vector<FolderName> names;
        ASSERT_TRUE(ListFolderNames(folder, names));
        for (const FolderName& entry : names)
            entry.isFolder ? walk(folder + entry.name + "/") : expected.push_back(folder + entry.name);
    };
    walk(tree.Path() + "/");
    SearchCandidates candidates;
    RecordingProgress progress;
    CollectCandidates(tree.Path(), true, candidates, progress);
    std::vector<std::string> collected;
    for (size_t i = 0; i < candidates.Count(); ++i)
        collected.push_back(candidates.PathOf(i));
    EXPECT_EQ(collected, expected);
    EXPECT_EQ(collected.size(), 6u);
    EXPECT_EQ(Count(progress.texts, "Searching directories : \""), 3u); // s, s/t, u
    EXPECT_NE(std::find(progress.texts.begin(), progress.texts.end(),
                        "Searching directories : \"" + tree.Path("s/t") + "\"..."),
              progress.texts.end());
}

TEST(FileSearch, MatchingNamesEachFolderOnceAndCountsTheCandidates)
{
    Tree tree;
    for (const char* name : {"a/1.txt", "a/2.txt", "b/3.txt"})
        tree.File(name);
    RecordingProgress progress;
    EXPECT_EQ(Search({"*", tree.Path(), true, false}, progress).size(), 3u);
    EXPECT_EQ(Count(progress.texts, "Searching : \""), 2u);
    EXPECT_EQ(progress.High(), 3);
    EXPECT_EQ(progress.Pos(), 2);
}

TEST(FileSearch, TheCallbackOrACancelEndsTheSearchAtOnce)
{
    Tree tree;
    for (const char* name : {"1", "2", "3", "4"})
        tree.File(name);
    int calls = 0;
    EXPECT_EQ(FileSearch({"*", tree.Path(), false, false}, [&](const std::string&) { return ++calls < 2; },
                         CQnProgress::Silent()),
              FileSearchEnd::Stopped);
    EXPECT_EQ(calls, 2);
    RecordingProgress progress;
    progress.cancelAt = 1;
    calls = 0;
    EXPECT_EQ(FileSearch({"*", tree.Path(), false, false}, [&](const std::string&) { return ++calls > 0; }, progress),
              FileSearchEnd::Cancelled);
    EXPECT_EQ(calls, 1);
}

TEST(FileSearch, AFolderThatCannotBeListedFindsNothing)
{
    Tree tree;
    EXPECT_TRUE(Search({"*", tree.Path("missing"), true, false}).empty());
    EXPECT_TRUE(Search({"*", "", true, false}).empty());
}

TEST(SearchDrives, AllDisksWalksFixedAndRamDisksAndMissingRootsOnly)
{
    const std::vector<LogicalDrive> drives = {{'A', DriveKind::Removable}, {'C', DriveKind::Fixed},
                                              {'D', DriveKind::CdRom},     {'E', DriveKind::RamDisk},
                                              {'F', DriveKind::Remote},    {'G', DriveKind::NoRoot}};
    EXPECT_EQ(SearchedDriveLetters(drives), (std::vector<char>{'C', 'E', 'G'}));
    EXPECT_EQ(SearchStartPoints({"*", "c:\\x", true, true}, drives),
              (std::vector<std::string>{"C:\\", "E:\\", "G:\\"}));
    EXPECT_EQ(SearchStartPoints({"*", "/x", true, false}, drives), std::vector<std::string>{"/x/"});
    EXPECT_EQ(AllDisksEntryText("All disks", {'C', 'E'}), "All disks ( C,E )");
    EXPECT_EQ(AllDisksEntryText("All disks", {}), "All disks (  )");
    EXPECT_EQ(DriveLetterOf("t:\\x\\y.txt"), 'T');
    EXPECT_EQ(DriveLetterOf("/home/x"), 0);
    EXPECT_TRUE(IsOnDrive("c:\\a", 'C'));
    EXPECT_FALSE(IsOnDrive("d:\\a", 'C'));
}

TEST(FileSearch, CandidatesOfPathsKeepTheirOrderAndFolders)
{
    const SearchCandidates candidates = CandidatesOfPaths({"/a/x.txt", "/a/y.doc", "/b/z.txt"});
    ASSERT_EQ(candidates.Count(), 3u);
    EXPECT_EQ(candidates.folders, (std::vector<std::string>{"/a/", "/b/"}));
    EXPECT_EQ(candidates.PathOf(2), "/b/z.txt");
}
