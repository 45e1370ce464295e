// The launcher's list rules: which of the maker's install records are programs to list, the
// built-in table against the Windows folder, the programs of a folder, each path once under
// "All Tools", the exchange sort, and forgetting a program that went.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/folder_listing.h"
#include "app/registry_access.h"
#include "base/text.h"
#include "shell/report_model.h"
#include "systools/tools/tool_lists.h"
#include "tests/support/private_registry.h"

namespace {
const std::string kMakerKey = "Software\\Ostrel\\Software";

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return CompareNoCase(a, b) < 0; }
};

// A file system of a few files, where names compare without case as on Windows.
class FakePlatform : public ToolPlatform {
public:
    std::set<std::string, NoCaseLess> files;
    std::set<std::string, NoCaseLess> withoutIcon;
    std::map<std::string, std::vector<FolderName>, NoCaseLess> folders;
    std::vector<std::string> retrieving;
    int icons = 0;

    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    int AddIcon(const std::string& path) override { return withoutIcon.count(path) ? -1 : icons++; }
    bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names) override
    {
        const auto found = folders.find(folder);
        names = found == folders.end() ? std::vector<FolderName>{} : found->second;
        return found != folders.end();
    }
    void ShowRetrieving(const std::string& path, int position, int count) override
    {
        retrieving.push_back(FillConversions("%s %d/%d", {path, std::to_string(position), std::to_string(count)}));
    }

    // A file in a folder, both for existence and for the folder's listing.
    void AddFile(const std::string& folder, const std::string& name)
    {
        files.insert(folder + "\\" + name);
        folders[folder].push_back({name, false});
    }
};

std::vector<std::string> Names(const std::vector<ToolEntry>& entries)
{
    std::vector<std::string> names;
    for (const ToolEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

std::vector<std::string> Paths(const std::vector<ToolEntry>& entries)
{
    std::vector<std::string> paths;
    for (const ToolEntry& entry : entries)
        paths.push_back(entry.path);
    return paths;
}

class MakerProgramsTest : public PrivateRegistryTest {
protected:
    void SetUp() override { registry.DeleteKey(RegRoot::CurrentUser, kMakerKey); }
    void TearDown() override { registry.DeleteKey(RegRoot::CurrentUser, kMakerKey); }
    CRegistryAccess registry;
};
} // namespace

TEST_F(MakerProgramsTest, ListsTextRecordsButTheProductsOwnAndOddOnes)
{
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "Zephra", "C:\\Ostrel\\Zephra\\zephra.exe");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "qUENTA", "C:\\Ostrel\\Quenta\\quenta.exe");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "Odd <name> \"*?\"", "C:\\odd.exe");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "Empty", "");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "Long", "C:\\" + std::string(600, 'a') + ".exe");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "Edge", "C:\\" + std::string(kMaxToolText - 7, 'b') + ".exe");
    registry.WriteString(RegRoot::CurrentUser, kMakerKey, "", "C:\\nameless.exe");
    registry.WriteDword(RegRoot::CurrentUser, kMakerKey, "Number", 12);

    std::vector<ToolCandidate> found = MakerProgramCandidates();
    std::vector<std::string> names;
    for (const ToolCandidate& candidate : found)
        names.push_back(candidate.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Edge", "Odd <name> \"*?\"", "Zephra"}));
    for (const ToolCandidate& candidate : found) {
        if (candidate.name == "Zephra") {
            EXPECT_EQ(candidate.path, "C:\\Ostrel\\Zephra\\zephra.exe");
        }
        if (candidate.name == "Edge") {
            EXPECT_EQ(candidate.path.size(), kMaxToolText); // the longest path is kept whole
        }
    }
}

TEST_F(MakerProgramsTest, NoKeyNoPrograms) { EXPECT_TRUE(MakerProgramCandidates().empty()); }

TEST(BuiltInTools, TableRowsHaveAPathAndAName)
{
    ASSERT_EQ(BuiltInTools().size(), 15u);
    for (const std::string row : BuiltInTools()) {
        const size_t bar = row.find('|');
        ASSERT_NE(bar, std::string::npos) << row;
        EXPECT_EQ(row.rfind("%WINDIR%\\", 0), 0u) << row;
        EXPECT_LT(bar + 1, row.size()) << row;
    }
}

TEST(BuiltInTools, WindowsFolderReplacedAndProgramsTakenAsFromACommandLine)
{
    const std::set<std::string> existing = {"D:\\Win\\notepad.Exe", "D:\\Win\\system\\sysedit.Exe",
                                            "D:\\Win\\Command.com"};
    const std::vector<ToolCandidate> found =
        BuiltInToolCandidates("D:\\Win", [&](const std::string& path) { return existing.count(path) > 0; });
    // A path that names no file and holds no ".exe " stops being a program: only existing ones.
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].path, "D:\\Win\\notepad.Exe");
    EXPECT_EQ(found[0].name, "Notepad");
    EXPECT_EQ(found[1].path, "D:\\Win\\system\\sysedit.Exe");
    EXPECT_EQ(found[1].name, "System Edit");
    EXPECT_EQ(found[2].path, "D:\\Win\\Command.com");
    EXPECT_EQ(found[2].name, "MSDos");
}

TEST(FolderPrograms, ExeFilesOnlyNamedWithoutExtension)
{
    const std::vector<FolderName> names = {{"notepad.exe", false}, {"REGEDIT.EXE", false}, {"readme.txt", false},
                                           {"tools.exe", true},    {"exe", false},         {"a.exe.bak", false}};
    const std::vector<ToolCandidate> found = FolderProgramCandidates("C:\\WINDOWS", names);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].path, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(found[0].name, "notepad");
    EXPECT_EQ(found[1].path, "C:\\WINDOWS\\REGEDIT.EXE");
    EXPECT_EQ(found[1].name, "REGEDIT");
}

TEST(ExchangeSort, SortsByNameIgnoringCase)
{
    std::vector<ToolEntry> entries;
    for (const char* name : {"regedit", "Explorer", "notepad", "Control", "control", "zz", "A", "explorer"})
        entries.push_back({std::string("C:\\") + name, name, 0});
    ExchangeSortByName(entries);
    const std::vector<std::string> names = Names(entries);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; }));
    EXPECT_EQ(names.front(), "A");
    EXPECT_EQ(names.back(), "zz");
    std::vector<ToolEntry> none;
    ExchangeSortByName(none);
    EXPECT_TRUE(none.empty());
}

class ToolListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.AddFile("C:\\WINDOWS", "notepad.exe");
        platform.AddFile("C:\\WINDOWS", "regedit.exe");
        platform.AddFile("C:\\WINDOWS", "explorer.exe");
        platform.AddFile("C:\\WINDOWS", "noicon.exe");
        platform.withoutIcon.insert("C:\\WINDOWS\\noicon.exe");
        platform.AddFile("C:\\WINDOWS\\system", "sysedit.exe");
        platform.AddFile("C:\\WINDOWS\\system", "ddhelp.exe");
        platform.files.insert("C:\\Ostrel\\Zephra\\zephra.exe");
        platform.files.insert("C:\\Tools\\runner.exe");
    }

    void Build(const std::vector<ToolCandidate>& maker)
    {
        lists.Build(platform, "C:\\WINDOWS", maker, [this](int step) { steps.push_back(step); });
    }

    FakePlatform platform;
    ToolLists lists;
    std::vector<int> steps;
};

TEST_F(ToolListsTest, FourListsEachPathOnceUnderAllTools)
{
    Build({{"C:\\Ostrel\\Zephra\\zephra.exe", "Zephra"},
           {"c:\\tools\\RUNNER.exe", "Runner"},
           {"C:\\Tools\\runner.exe", "Runner again"}, // the same program under another name
           {"C:\\Ostrel\\gone.exe", "Gone"}});
    EXPECT_TRUE(lists.IsBuilt());
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4}));

    EXPECT_EQ(Names(lists.Tab(kMakerToolsTab)), (std::vector<std::string>{"Runner", "Runner again", "Zephra"}));
    // Built-in tools that exist here (the table's "notepad.Exe" is the folder's "notepad.exe").
    EXPECT_EQ(Names(lists.Tab(kCustomToolsTab)),
              (std::vector<std::string>{"Explorer", "Notepad", "Regedit", "System Edit"}));
    // Both folders' programs, but the one without an icon.
    EXPECT_EQ(Names(lists.Tab(kSystemToolsTab)),
              (std::vector<std::string>{"ddhelp", "explorer", "notepad", "regedit", "sysedit"}));

    std::vector<std::string> all = Paths(lists.Tab(kAllToolsTab));
    EXPECT_EQ(all.size(), 7u);
    std::set<std::string, NoCaseLess> once(all.begin(), all.end());
    EXPECT_EQ(once.size(), all.size()) << "a path listed twice under All Tools";
    for (const char* path : {"C:\\WINDOWS\\notepad.exe", "C:\\Tools\\runner.exe", "C:\\WINDOWS\\system\\ddhelp.exe",
                             "C:\\Ostrel\\Zephra\\zephra.exe"})
        EXPECT_EQ(once.count(path), 1u) << path;
    EXPECT_EQ(once.count("C:\\WINDOWS\\noicon.exe"), 0u);
    const std::vector<std::string> names = Names(lists.Tab(kAllToolsTab));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; }));
    // The first entry of a path wins: the maker's name for runner, the built-in name for notepad.
    EXPECT_NE(std::find(names.begin(), names.end(), "Runner"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Notepad"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "notepad"), names.end());
}

TEST_F(ToolListsTest, MissingBuiltInToolsAndMissingMakerProgramsAreAbsent)
{
    Build({{"C:\\Ostrel\\gone.exe", "Gone"}});
    EXPECT_TRUE(lists.Tab(kMakerToolsTab).empty());
    for (const ToolEntry& entry : lists.Tab(kAllToolsTab)) {
        EXPECT_NE(entry.name, "Files Manager");
        EXPECT_NE(entry.name, "Gone");
    }
    for (const std::string& text : platform.retrieving)
        EXPECT_EQ(text.find("gone.exe"), std::string::npos) << "a missing program was examined: " << text;
}

TEST_F(ToolListsTest, StatusCountsThePositionAmongTheStepsCandidates)
{
    Build({{"C:\\Ostrel\\Zephra\\zephra.exe", "Zephra"}, {"C:\\Tools\\runner.exe", "Runner"}});
    ASSERT_GE(platform.retrieving.size(), 2u);
    EXPECT_EQ(platform.retrieving[0], "C:\\Ostrel\\Zephra\\zephra.exe 1/2");
    EXPECT_EQ(platform.retrieving[1], "C:\\Tools\\runner.exe 2/2");
}

TEST_F(ToolListsTest, ImagesPointIntoTheSharedList)
{
    Build({{"C:\\Tools\\runner.exe", "Runner"}});
    std::set<int> images;
    for (int tab = kMakerToolsTab; tab < kToolTabCount; ++tab)
        for (const ToolEntry& entry : lists.Tab(tab)) {
            EXPECT_GE(entry.image, 0);
            EXPECT_LT(entry.image, platform.icons);
            images.insert(entry.image);
        }
    EXPECT_EQ(static_cast<int>(images.size()), platform.icons) << "one image per added entry";
}

TEST_F(ToolListsTest, RebuildStartsAfreshAndRemovePathLeavesEveryTab)
{
    Build({{"C:\\Tools\\runner.exe", "Runner"}});
    Build({{"C:\\Tools\\runner.exe", "Runner"}});
    EXPECT_EQ(lists.Tab(kMakerToolsTab).size(), 1u);
    EXPECT_EQ(lists.Tab(kAllToolsTab).size(), 6u);

    lists.RemovePath("c:\\windows\\NOTEPAD.EXE");
    for (int tab = 0; tab < kToolTabCount; ++tab)
        for (const ToolEntry& entry : lists.Tab(tab))
            EXPECT_NE(CompareNoCase(entry.path, "C:\\WINDOWS\\notepad.exe"), 0) << "tab " << tab;
    EXPECT_EQ(lists.Tab(kAllToolsTab).size(), 5u);
    EXPECT_EQ(lists.Entry(kAllToolsTab, 5), nullptr);
    EXPECT_EQ(lists.Entry(7, 0), nullptr);
    EXPECT_TRUE(lists.Tab(-1).empty());
}

TEST_F(ToolListsTest, AddToolOnlyToTheThreeSourceTabs)
{
    EXPECT_FALSE(lists.AddTool(platform, kAllToolsTab, {"C:\\Tools\\runner.exe", "Runner"}, 1, 1));
    EXPECT_FALSE(lists.AddTool(platform, kToolTabCount, {"C:\\Tools\\runner.exe", "Runner"}, 1, 1));
    EXPECT_TRUE(lists.AddTool(platform, kMakerToolsTab, {"C:\\Tools\\runner.exe", "Runner"}, 1, 1));
    EXPECT_EQ(lists.Tab(kAllToolsTab).size(), 1u);
}
