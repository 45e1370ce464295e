// The shell's tips: the list ends at the first empty, missing or non-text value with one
// empty entry, and only edited tips are written back.
#include <gtest/gtest.h>

#include "app/registry_access.h"
#include "systools/misc/stored_value.h"
#include "systools/misc/tips_store.h"
#include "tests/support/private_registry.h"

namespace {
class TipsStoreTest : public PrivateRegistryTest {
protected:
    void SetUp() override { CRegistryAccess().DeleteKey(RegRoot::LocalMachine, kTipsKey); }
    static ValueAddress Tip(const std::string& name) { return {RegRoot::LocalMachine, kTipsKey, name}; }
    static void Put(const std::string& name, const std::string& text)
    {
        WriteStoredValue(Tip(name), StoredValue::Text(text));
    }
};

TEST_F(TipsStoreTest, ListEndsAtTheFirstEmptyMissingOrNonTextValue)
{
    EXPECT_EQ(ReadTips(), std::vector<std::string>{""});
    Put("0", "first");
    Put("1", std::string(600, 't'));
    Put("3", "after a gap");
    EXPECT_EQ(ReadTips(), (std::vector<std::string>{"first", std::string(600, 't'), ""}));
    WriteStoredValue(Tip("1"), StoredValue::Dword(7));
    EXPECT_EQ(ReadTips(), (std::vector<std::string>{"first", ""}));
    Put("1", "");
    EXPECT_EQ(ReadTips(), (std::vector<std::string>{"first", ""}));
}

TEST_F(TipsStoreTest, OnlyEditedTipsAreWrittenAndANewLastTipGetsAnEmptyFollower)
{
    Put("0", "first");
    Put("1", "second");
    WriteStoredValue(Tip("2"), StoredValue::Dword(7)); // ends the list; untouched unless edited
    const std::vector<std::string> opened = ReadTips();
    std::vector<std::string> tips = opened;
    ReplaceTip(tips, 1, "second, edited");
    EXPECT_EQ(tips.size(), 3u);
    ReplaceTip(tips, 2, "third");
    EXPECT_EQ(tips, (std::vector<std::string>{"first", "second, edited", "third", ""}));
    ReplaceTip(tips, 9, "out of range"); // ignored
    EXPECT_EQ(tips.size(), 4u);
    WriteTips(tips, opened);
    EXPECT_EQ(ReadStoredValue(Tip("1")).TextOr(""), "second, edited");
    EXPECT_EQ(ReadStoredValue(Tip("2")).TextOr(""), "third");
    EXPECT_FALSE(ReadStoredValue(Tip("3")).present); // the empty follower is not written

    WriteStoredValue(Tip("1"), StoredValue::Dword(1));
    WriteTips(ReadTips(), ReadTips()); // nothing edited: nothing written
    EXPECT_EQ(ReadStoredValue(Tip("1")), StoredValue::Dword(1));
}
} // namespace
