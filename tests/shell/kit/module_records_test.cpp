// Records that outlive a module view: one owner per record type and tag.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/module_records.h"

namespace {
struct Entry {
    std::string name;
};
struct OtherList;

// Stands for a module view: filled from the shared records, destroyed at a module switch.
class View {
public:
    View()
    {
        auto& records = ModuleRecords<Entry>::Shared();
        if (!records.IsBuilt()) {
            records.Append({"first"});
            records.Append({"second"});
            records.MarkBuilt();
            ++builds;
        }
    }
    static int builds;
};
int View::builds = 0;
} // namespace

TEST(ModuleRecords, SurviveTheViewAndAreBuiltOnce)
{
    ModuleRecords<Entry>::Shared().Clear();
    View::builds = 0;
    std::make_unique<View>().reset();
    std::make_unique<View>().reset();
    EXPECT_EQ(View::builds, 1);
    auto& records = ModuleRecords<Entry>::Shared();
    ASSERT_EQ(records.Count(), 2u);
    EXPECT_EQ(records[1].name, "second");
    EXPECT_EQ(&records, &ModuleRecords<Entry>::Shared());

    // A refresh empties them; the next view builds them again.
    records.Clear();
    EXPECT_FALSE(records.IsBuilt());
    View again;
    EXPECT_EQ(View::builds, 2);
    EXPECT_EQ(records.Count(), 2u);
}

TEST(ModuleRecords, TagsKeepArraysOfOneRecordTypeApart)
{
    auto& plain = ModuleRecords<Entry>::Shared();
    auto& other = ModuleRecords<Entry, OtherList>::Shared();
    plain.Clear();
    other.Clear();
    other.Append({"elsewhere"});
    EXPECT_NE(static_cast<void*>(&plain), static_cast<void*>(&other));
    EXPECT_TRUE(plain.IsEmpty());
    EXPECT_EQ(other.Count(), 1u);
}

TEST(ModuleRecords, RemovalMovesLaterRecordsDownAndIgnoresBadIndexes)
{
    auto& records = ModuleRecords<Entry>::Shared();
    records.Clear();
    for (const char* name : {"a", "b", "c"})
        records.Append({name});
    EXPECT_FALSE(records.RemoveAt(3));
    EXPECT_EQ(records.At(3), nullptr);
    EXPECT_TRUE(records.RemoveAt(0));
    ASSERT_EQ(records.Count(), 2u);
    EXPECT_EQ(records.At(0)->name, "b");
    EXPECT_EQ(records[1].name, "c");
    std::string joined;
    for (const Entry& entry : records)
        joined += entry.name;
    EXPECT_EQ(joined, "bc");
}
