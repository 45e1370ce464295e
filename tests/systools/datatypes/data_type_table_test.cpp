// The data type table over the registry interface: the fill's rules, writes for new and
// existing types and removal of exactly the chosen extension keys.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/progress.h"
#include "systools/datatypes/data_type_table.h"
#include "tests/support/private_registry.h"

namespace {
constexpr RegRoot kClasses = RegRoot::ClassesRoot;

// Counts the progress positions and cancels at a chosen one.
class RecordingProgress : public CQnProgress {
public:
    int64_t cancelAt = -1;
    std::vector<int64_t> positions;
    bool SetPos(int64_t position, bool redraw) override
    {
        positions.push_back(position);
        CQnProgress::SetPos(position, redraw);
        return position != cancelAt;
    }
};

class DataTypes : public PrivateRegistryTest {
protected:
    void SetUp() override { ClearClasses(); }
    void TearDown() override { ClearClasses(); }

    void ClearClasses()
    {
        const std::vector<std::string> keys = reg.EnumSubKeys(kClasses, "");
        for (const std::string& key : keys)
            reg.DeleteKey(kClasses, key);
    }
    void SetDefault(const std::string& key, const std::string& text) { reg.WriteString(kClasses, key, "", text); }
    std::string Default(const std::string& key) { return reg.ReadString(kClasses, key, "", std::string("<none>")); }
    bool Exists(const std::string& key)
    {
        reg.EnumSubKeys(kClasses, key);
        return reg.LastSucceeded();
    }
    // Extension -> description of the non-removed entries.
    std::map<std::string, std::string> Listed(const DataTypeTable& table)
    {
        std::map<std::string, std::string> listed;
        for (int i = 0; i < table.Count(); ++i)
            if (!table.At(i)->removed)
                listed[table.At(i)->extension] = table.At(i)->description;
        return listed;
    }

    CRegistryAccess reg;
    DataTypeTable table;
};
} // namespace

TEST_F(DataTypes, TheTypeLivesInTheProgidKeyWhenThatHasAName)
{
    SetDefault(".txt", "txtfile");
    SetDefault("txtfile", "text document");
    SetDefault("txtfile\\DefaultIcon", "%SystemRoot%\\system32\\shell32.dll,-3");
    SetDefault("txtfile\\Shell\\Open\\Command", "notepad.exe %1");
    SetDefault(".txt\\DefaultIcon", "ignored.dll,1");

    const auto entry = DataTypeTable::ReadEntry(reg, ".txt");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->description, "Text document");
    EXPECT_EQ(entry->typeKey, "txtfile\\");
    EXPECT_EQ(entry->iconLocation, "%SystemRoot%\\system32\\shell32.dll,-3");
    EXPECT_EQ(entry->command, "notepad.exe %1");
    EXPECT_EQ(entry->extension, ".txt");
}

TEST_F(DataTypes, WithoutANamedProgidTheExtensionKeyHoldsTheType)
{
    SetDefault(".foo", "foofile"); // no key foofile
    SetDefault(".foo\\Shell\\Open\\Command", "foo.exe");
    SetDefault(".bar", "barfile");
    reg.WriteString(kClasses, "barfile", "Other", "x"); // progid key without a default value
    SetDefault(".nil\\DefaultIcon", "a.dll,2"); // no default value at all: skipped
    // A progid of separators alone must not read the class root's own default value.
    SetDefault(".sep", "\\\\");

    const auto foo = DataTypeTable::ReadEntry(reg, ".foo");
    ASSERT_TRUE(foo);
    EXPECT_EQ(foo->description, "Foofile") << "the progid text is the name";
    EXPECT_EQ(foo->typeKey, ".foo\\");
    EXPECT_EQ(foo->command, "foo.exe");
    const auto bar = DataTypeTable::ReadEntry(reg, ".bar");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->typeKey, ".bar\\");
    EXPECT_FALSE(DataTypeTable::ReadEntry(reg, ".nil"));
    const auto sep = DataTypeTable::ReadEntry(reg, ".sep");
    ASSERT_TRUE(sep);
    EXPECT_EQ(sep->typeKey, ".sep\\");
}

TEST_F(DataTypes, OddValuesAreShownWholeOrSkipped)
{
    const std::string longName(600, 'n');
    SetDefault(".long", longName);
    reg.WriteDword(kClasses, ".dword", "", 7); // a number where text belongs
    SetDefault(".odd", "t\xe9l\xe9 & <\"x\">");
    ASSERT_TRUE(table.Fill(reg, CQnProgress::Silent()));
    const auto listed = Listed(table);
    EXPECT_EQ(listed.at(".long"), "N" + longName.substr(1));
    EXPECT_EQ(listed.count(".dword"), 0u);
    EXPECT_EQ(listed.at(".odd"), "T\xe9l\xe9 & <\"x\">");
}

TEST_F(DataTypes, FillTakesDotKeysReportsEveryStepAndStopsWhenCancelled)
{
    for (int i = 0; i < 20; ++i)
        SetDefault(".e" + std::to_string(100 + i), "type" + std::to_string(i));
    for (int i = 0; i < 5; ++i)
        SetDefault("progid" + std::to_string(i), "not an extension");
    // 25 keys: a step of 6.
    RecordingProgress progress;
    std::vector<std::string> slotsAsked;
    ASSERT_TRUE(table.Fill(reg, progress, [&](const std::string& extension) {
        slotsAsked.push_back(extension);
        return static_cast<int>(slotsAsked.size()) + 40;
    }));
    EXPECT_EQ(progress.High(), 25);
    EXPECT_EQ(progress.positions, (std::vector<int64_t>{0, 6, 12, 18, 24}));
    EXPECT_EQ(table.Count(), 20);
    EXPECT_EQ(slotsAsked.size(), 20u);
    EXPECT_EQ(table.At(0)->iconIndex, 41);

    RecordingProgress cancelling;
    cancelling.cancelAt = 12;
    EXPECT_FALSE(table.Fill(reg, cancelling));
    EXPECT_LT(table.Count(), 13) << "keys from the cancelled step on are not read";
    EXPECT_GT(table.Count(), 0);
}

TEST_F(DataTypes, ANewTypeGetsItsOwnKeyAndEditingAgainWritesThere)
{
    const auto added = table.SetDataType(reg, "abc", "ABC file", "abc.exe %1", "abc.exe,0");
    ASSERT_TRUE(added.created);
    ASSERT_EQ(added.index, 0);
    EXPECT_EQ(Default(".abc"), "Quenta_abc_file");
    EXPECT_EQ(Default("Quenta_abc_file"), "ABC file");
    EXPECT_EQ(Default("Quenta_abc_file\\Shell\\Open\\Command"), "abc.exe %1");
    EXPECT_EQ(Default("Quenta_abc_file\\DefaultIcon"), "abc.exe,0");
    EXPECT_EQ(table.At(0)->typeKey, "Quenta_abc_file\\");

    const auto edited = table.SetDataType(reg, ".ABC", "ABC again", "other.exe", "other.dll,-3");
    EXPECT_FALSE(edited.created);
    EXPECT_EQ(edited.index, 0);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(Default("Quenta_abc_file"), "ABC again");
    EXPECT_EQ(Default("Quenta_abc_file\\Shell\\Open\\Command"), "other.exe");
    EXPECT_EQ(Default("Quenta_abc_file\\DefaultIcon"), "other.dll,-3");
    EXPECT_FALSE(Exists("Quenta_ABC_file\\Shell\\Open\\Command\\x")); // nothing else made
    EXPECT_EQ(reg.EnumSubKeys(kClasses, "").size(), 2u) << "only .abc and Quenta_abc_file";
}

TEST_F(DataTypes, AnExistingExtensionIsWrittenWhereItsTypeLives)
{
    SetDefault(".txt", "txtfile");
    SetDefault("txtfile", "Text");
    ASSERT_TRUE(table.Fill(reg, CQnProgress::Silent()));
    const auto result = table.SetDataType(reg, "notes.txt", "Plain text", "edit.exe %1", "edit.exe,1");
    EXPECT_FALSE(result.created);
    EXPECT_EQ(Default("txtfile"), "Plain text");
    EXPECT_EQ(Default("txtfile\\DefaultIcon"), "edit.exe,1");
    EXPECT_EQ(Default("txtfile\\Shell\\Open\\Command"), "edit.exe %1");
    EXPECT_EQ(Default(".txt"), "txtfile");
    EXPECT_FALSE(Exists("Quenta_txt_file"));
    EXPECT_EQ(table.At(result.index)->description, "Plain text");
}

TEST_F(DataTypes, ExtensionsThatNameNoSingleKeyAreRefused)
{
    EXPECT_EQ(table.SetDataType(reg, "a\\b", "x", "y", "z").index, -1);
    EXPECT_EQ(table.SetDataType(reg, "name.", "x", "y", "z").index, -1);
    EXPECT_TRUE(reg.EnumSubKeys(kClasses, "").empty()) << "nothing written";
}

TEST_F(DataTypes, RemovalDeletesExactlyTheChosenExtensionKeys)
{
    for (const char* ext : {".aa", ".bb", ".cc", ".dd"}) {
        SetDefault(ext, std::string("type") + ext);
        SetDefault(std::string("type") + ext, std::string("Name ") + ext);
        SetDefault(std::string(ext) + "\\ShellNew", "sub");
    }
    ASSERT_TRUE(table.Fill(reg, CQnProgress::Silent()));
    ASSERT_EQ(table.Count(), 4);
    // Chosen as a list sorted another way would hand them over: .dd and .bb.
    std::vector<int> chosen;
    for (int i = table.Count() - 1; i >= 0; --i)
        if (table.At(i)->extension == ".dd" || table.At(i)->extension == ".bb")
            chosen.push_back(i);
    const std::vector<int> removed = table.Remove(chosen);
    EXPECT_EQ(removed, chosen);
    EXPECT_FALSE(Exists(".dd"));
    EXPECT_FALSE(Exists(".bb"));
    EXPECT_TRUE(Exists(".aa"));
    EXPECT_TRUE(Exists(".cc\\ShellNew"));
    EXPECT_TRUE(Exists("type.dd")) << "the type key it pointed to stays";
    EXPECT_TRUE(Exists("type.bb"));
    EXPECT_EQ(table.Count(), 4) << "removed entries stay until the next fill";
    EXPECT_EQ(Listed(table).size(), 2u);
    EXPECT_EQ(table.Find(".dd"), -1);
    EXPECT_TRUE(table.Remove(chosen).empty()) << "an entry is removed once";

    // A name that ends with a slash is its own key, never the one without it.
    SetDefault(".x/", "slash");
    SetDefault(".x", "plain");
    ASSERT_TRUE(table.Fill(reg, CQnProgress::Silent()));
    const int slash = table.Find(".x/");
    ASSERT_GE(slash, 0);
    EXPECT_EQ(table.Remove({slash}), std::vector<int>{slash});
    EXPECT_FALSE(Exists(".x/"));
    EXPECT_EQ(Default(".x"), "plain");
    chosen = {table.Find(".dd"), table.Find(".bb")};
    ASSERT_EQ(chosen, (std::vector<int>{-1, -1})) << "gone after the fill";

    // Adding a removed extension again makes a new type of its own.
    const auto readded = table.SetDataType(reg, "dd", "Back", "b.exe", "");
    EXPECT_TRUE(readded.created);
    EXPECT_EQ(Default(".dd"), "Quenta_dd_file");
}
