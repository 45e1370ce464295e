// The uninstaller's entry rules over a registry in memory: what a fill lists, what storing an
// entry writes, and that removals take exactly the chosen entries' keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/report_model.h"
#include "systools/uninstall/uninstall_entries.h"
#include "tests/systools/uninstall/memory_registry.h"

namespace {
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Key(const std::string& name) { return kUninstall + "\\" + name; }

// Numbers the icons it is asked for and remembers the commands.
class CountingIcons : public IUninstallIcons {
public:
    int AppendIconOf(const std::string& command) override
    {
        commands.push_back(command);
        return static_cast<int>(commands.size()) - 1;
    }
    std::vector<std::string> commands;
};

class UninstallEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UninstallEntries::Shared().Clear();
        place.icons = &icons;
    }
    void TearDown() override { UninstallEntries::Shared().Clear(); }

    void AddStored(const std::string& key, const std::string& name, const std::string& command)
    {
        registry.SetText(Key(key), "DisplayName", name);
        registry.SetText(Key(key), "UninstallString", command);
    }
    std::vector<std::string> ListedKeys() const
    {
        std::vector<std::string> keys;
        for (const UninstallEntry& entry : UninstallEntries::Shared())
            keys.push_back(entry.keyName);
        return keys;
    }

    MemoryRegistry registry;
    CountingIcons icons;
    UninstallPlace place{CUninstallRegistry([this] { return registry.OpenRoot(); }), nullptr};
};

TEST_F(UninstallEntriesTest, FillListsEntriesWithANameOrACommandAndWritesNothing)
{
    AddStored("Alpha", "Alpha Tool", "C:\\Alpha\\unins.exe /S");
    registry.SetText(Key("OnlyCommand"), "UninstallString", "C:\\x\\remove.exe");
    registry.SetText(Key("OnlyName"), "DisplayName", "Named only");
    registry.SetText(Key("Neither"), "Publisher", "Nobody");
    registry.SetRaw(Key("NumberName"), "DisplayName", kRegDword, {1, 0, 0, 0});
    registry.SetText(Key("Expand"), "UninstallString", "%SystemRoot%\\unins.exe", kRegExpandString);
    registry.SetText(Key("Expand"), "DisplayName", "Expandable");
    const std::string longCommand(600, 'c');
    AddStored("Long", std::string(600, 'n'), longCommand);

    FillUninstallEntries(place);

    const UninstallEntries& entries = UninstallEntries::Shared();
    EXPECT_EQ(ListedKeys(), (std::vector<std::string>{"Alpha", "OnlyCommand", "OnlyName", "Expand", "Long"}));
    EXPECT_EQ(entries[0].displayName, "Alpha Tool");
    EXPECT_EQ(entries[0].command, "C:\\Alpha\\unins.exe /S");
    EXPECT_EQ(entries[1].displayName, ""); // listed with an empty name
    EXPECT_EQ(entries[1].command, "C:\\x\\remove.exe");
    EXPECT_EQ(entries[3].command, "%SystemRoot%\\unins.exe");
    EXPECT_EQ(entries[4].command, longCommand); // whole, never cut
    EXPECT_EQ(entries[4].displayName.size(), 600u);
    // Icons are numbered in the order the entries were stored.
    for (size_t i = 0; i < entries.Count(); ++i)
        EXPECT_EQ(entries[i].iconIndex, static_cast<int>(i));
    EXPECT_EQ(registry.writes, 0);
    EXPECT_TRUE(entries.IsBuilt());
}

TEST_F(UninstallEntriesTest, FillOfAMissingUninstallKeyListsNothing)
{
    FillUninstallEntries(place);
    EXPECT_TRUE(UninstallEntries::Shared().IsEmpty());
    EXPECT_FALSE(registry.Has(kUninstall)); // reading made nothing
}

TEST_F(UninstallEntriesTest, AppendCreatesTheKeyNamedAfterTheEntry)
{
    AddStored("Other", "Other", "other.exe");
    const size_t index = AppendUninstallEntry(place, "My Tool", "C:\\Tools\\uninstall.exe /x", "My Tool");

    EXPECT_EQ(index, 0u);
    EXPECT_EQ(registry.Text(Key("My Tool"), "DisplayName"), "My Tool");
    EXPECT_EQ(registry.Text(Key("My Tool"), "UninstallString"), "C:\\Tools\\uninstall.exe /x");
    EXPECT_EQ(registry.SubKeys(kUninstall), (std::vector<std::string>{"Other", "My Tool"}));
    EXPECT_EQ(UninstallEntries::Shared()[0].iconIndex, 0);
    EXPECT_EQ(icons.commands, (std::vector<std::string>{"C:\\Tools\\uninstall.exe /x"}));
}

TEST_F(UninstallEntriesTest, EditingTheNameRewritesDisplayNameOnly)
{
    AddStored("tool-key", "Old Name", "C:\\t\\u.exe");
    registry.SetText(Key("tool-key"), "Publisher", "Maker");
    registry.SetText(Key("Expand"), "DisplayName", "Expand");
    registry.SetText(Key("Expand"), "UninstallString", "%SystemRoot%\\u.exe", kRegExpandString);
    FillUninstallEntries(place);

    EXPECT_TRUE(StoreUninstallEntry(place, 0, "New Name", "C:\\t\\u.exe", "tool-key"));
    EXPECT_EQ(registry.writes, 1);
    EXPECT_EQ(registry.Text(Key("tool-key"), "DisplayName"), "New Name");
    EXPECT_EQ(registry.Text(Key("tool-key"), "UninstallString"), "C:\\t\\u.exe");
    EXPECT_EQ(registry.Text(Key("tool-key"), "Publisher"), "Maker");
    EXPECT_EQ(registry.SubKeys(kUninstall), (std::vector<std::string>{"tool-key", "Expand"}));
    EXPECT_EQ(UninstallEntries::Shared()[0].keyName, "tool-key");
    EXPECT_EQ(UninstallEntries::Shared()[0].iconIndex, 2); // a new icon after the fill's two

    // A changed command keeps its expandable kind; the unchanged name is not written.
    EXPECT_TRUE(StoreUninstallEntry(place, 1, "Expand", "%SystemRoot%\\v.exe /u", "Expand"));
    EXPECT_EQ(registry.writes, 2);
    EXPECT_EQ(registry.Text(Key("Expand"), "UninstallString"), "2:%SystemRoot%\\v.exe /u");
}

TEST_F(UninstallEntriesTest, AnEntryWithoutNameOrCommandIsKeptButNotWritten)
{
    registry.SetText(Key("NoName"), "UninstallString", "x.exe");
    FillUninstallEntries(place);

    EXPECT_FALSE(StoreUninstallEntry(place, 0, "", "y.exe", "NoName"));
    EXPECT_EQ(UninstallEntries::Shared()[0].command, "y.exe");
    const size_t added = AppendUninstallEntry(place, "Nameless", "", "Nameless");
    EXPECT_EQ(UninstallEntries::Shared()[added].displayName, "Nameless");
    EXPECT_EQ(registry.writes, 0);
    EXPECT_FALSE(registry.Has(Key("Nameless")));
    EXPECT_EQ(registry.Text(Key("NoName"), "UninstallString"), "x.exe");
    EXPECT_FALSE(StoreUninstallEntry(place, 5, "a", "b", "Nowhere")); // no such entry
    EXPECT_FALSE(registry.Has(Key("Nowhere")));
}

// The list shows the entries sorted by name, descending, so rows and entry indexes differ;
// the user selects three rows and exactly their three keys go, subkeys and all.
TEST_F(UninstallEntriesTest, DeletingThreeRowsOfASortedListDeletesExactlyTheirKeys)
{
    const std::vector<std::string> names = {"Delta", "alpha", "Echo", "Charlie", "bravo", "Foxtrot"};
    for (const std::string& name : names)
        AddStored("key-" + name, name, name + ".exe /u");
    registry.SetText(Key("key-Echo") + "\\Deeper\\Deepest", "x", "y");
    FillUninstallEntries(place);

    CReportModel list;
    list.AddColumn(0, ReportColumn{"Name"});
    const UninstallEntries& entries = UninstallEntries::Shared();
    for (size_t i = 0; i < entries.Count(); ++i)
        list.InsertRow(list.RowCount(), entries[i].displayName, -1, static_cast<intptr_t>(i));
    list.SortRows(0, false); // Foxtrot, Echo, Delta, Charlie, bravo, alpha
    ASSERT_EQ(list.StoredText(1, 0), "Echo");
    std::vector<size_t> chosen;
    for (int row : {1, 3, 5}) // Echo, Charlie, alpha
        chosen.push_back(static_cast<size_t>(list.RowData(row)));

    EXPECT_EQ(RemoveUninstallEntries(place, chosen), 3u);

    EXPECT_EQ(registry.SubKeys(kUninstall), (std::vector<std::string>{"key-Delta", "key-bravo", "key-Foxtrot"}));
    EXPECT_EQ(ListedKeys(), registry.SubKeys(kUninstall));
    EXPECT_TRUE(registry.Has(kUninstall));
}

TEST_F(UninstallEntriesTest, RemovalTakesEachEntryOnceAndIgnoresIndexesOutside)
{
    for (const char* name : {"A", "B", "C", "D"})
        AddStored(name, name, "x.exe");
    FillUninstallEntries(place);

    EXPECT_EQ(RemoveUninstallEntries(place, {2, 0, 2, 9, 0}), 2u);
    EXPECT_EQ(ListedKeys(), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(registry.SubKeys(kUninstall), (std::vector<std::string>{"B", "D"}));
    EXPECT_FALSE(RemoveUninstallEntry(place, 2));
    EXPECT_EQ(ListedKeys(), (std::vector<std::string>{"B", "D"}));
}

// An entry whose key name is empty or nested must never take the uninstall key or a key
// beside the entry with it.
TEST_F(UninstallEntriesTest, AnUnusableKeyNameNeverReachesAnotherKey)
{
    AddStored("Keep", "Keep", "keep.exe");
    AddStored("Keep\\Inner", "Inner", "inner.exe");
    FillUninstallEntries(place);
    AppendUninstallEntry(place, "Empty key", "x.exe", "");
    AppendUninstallEntry(place, "Nested", "x.exe", "Keep\\Inner");
    EXPECT_EQ(registry.writes, 0);

    EXPECT_FALSE(RemoveUninstallEntry(place, 2)); // "Keep\Inner"
    EXPECT_FALSE(RemoveUninstallEntry(place, 1)); // ""
    EXPECT_EQ(registry.deletions, 0);
    EXPECT_TRUE(registry.Has(Key("Keep\\Inner")));
    EXPECT_EQ(ListedKeys(), (std::vector<std::string>{"Keep"}));
}

TEST_F(UninstallEntriesTest, ARefusedWriteOrDeletionShowsTheRealStateAfterTheRefill)
{
    AddStored("Locked", "Locked Name", "locked.exe");
    FillUninstallEntries(place);
    registry.refuseWrites = true;
    registry.refuseDeletes = true;

    EXPECT_FALSE(StoreUninstallEntry(place, 0, "Changed", "locked.exe", "Locked"));
    EXPECT_EQ(AppendUninstallEntry(place, "Refused", "r.exe", "Refused"), 1u);
    EXPECT_FALSE(registry.Has(Key("Refused")));
    FillUninstallEntries(place);
    ASSERT_EQ(ListedKeys(), (std::vector<std::string>{"Locked"}));
    EXPECT_EQ(UninstallEntries::Shared()[0].displayName, "Locked Name");

    EXPECT_FALSE(RemoveUninstallEntry(place, 0));
    EXPECT_TRUE(UninstallEntries::Shared().IsEmpty());
    FillUninstallEntries(place);
    EXPECT_EQ(ListedKeys(), (std::vector<std::string>{"Locked"}));
}

TEST_F(UninstallEntriesTest, EntriesAreFoundByKeyNameWithoutLetterCase)
{
    AddStored("First", "1", "1.exe");
    AddStored("Second", "2", "2.exe");
    FillUninstallEntries(place);
    EXPECT_EQ(FindUninstallEntry("second"), std::optional<size_t>(1));
    EXPECT_EQ(FindUninstallEntry("Third"), std::nullopt);
    EXPECT_EQ(FindUninstallEntry(""), std::nullopt);
}

TEST(UninstallKeyNames, ANewEntryNeverTakesAnExistingKey)
{
    EXPECT_EQ(NewUninstallKeyName("My Tool", {"Other"}), "My Tool");
    EXPECT_EQ(NewUninstallKeyName("My Tool", {"my tool"}), "My Tool (2)");
    EXPECT_EQ(NewUninstallKeyName("My Tool", {"My Tool", "My Tool (2)"}), "My Tool (3)");
    EXPECT_EQ(NewUninstallKeyName("Tools\\Mine", {}), "Tools_Mine");
    const std::string longName(600, 'n');
    EXPECT_EQ(NewUninstallKeyName(longName, {}), std::string(255, 'n'));
    const std::string taken = NewUninstallKeyName(longName, {std::string(255, 'n')});
    EXPECT_EQ(taken.size(), 255u);
    EXPECT_EQ(taken.substr(251), " (2)");
    EXPECT_TRUE(IsEntryKeyName(taken));
}

TEST(UninstallKeyNames, KeyPathsAndUsableNames)
{
    EXPECT_EQ(UninstallEntryKeyPath("My Tool"), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\My Tool\\");
    EXPECT_FALSE(IsEntryKeyName(""));
    EXPECT_FALSE(IsEntryKeyName("a\\b"));
    EXPECT_FALSE(IsEntryKeyName(std::string(256, 'k')));
    EXPECT_TRUE(IsEntryKeyName("{12345678-ABCD}"));
}
} // namespace
