// The finder's settings and its pattern history in the settings store.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "filetools/finder/finder_settings.h"
#include "tests/support/private_registry.h"

class FinderSettingsTest : public PrivateRegistryTest {};

TEST_F(FinderSettingsTest, DefaultsAndRoundTripUnderTheStoredNames)
{
    CQnSettings().DeleteSection(kFinderSection);
    const FinderSettings defaults = ReadFinderSettings();
    EXPECT_FALSE(defaults.includeSubFolders || defaults.addToList || defaults.searchInList);
    EXPECT_EQ(defaults.lastFolder, "c:\\");
    WriteFinderSettings({true, false, true, "d:\\pictures\\"});
    CQnSettings store;
    EXPECT_EQ(store.ReadString(kFinderSection, "bIncludeSubDir"), "1");
    EXPECT_EQ(store.ReadString(kFinderSection, "bAddToList"), "0");
    EXPECT_EQ(store.ReadString(kFinderSection, "bSeachInList"), "1");
    const FinderSettings read = ReadFinderSettings();
    EXPECT_TRUE(read.includeSubFolders && read.searchInList && !read.addToList);
    EXPECT_EQ(read.lastFolder, "d:\\pictures\\");
}

TEST_F(FinderSettingsTest, HistoryShiftsDownAndDropsTheOldest)
{
    CQnSettings().DeleteSection("HistoryTest");
    for (int i = 0; i < 11; ++i)
        PushComboHistory("HistoryTest", "p" + std::to_string(i));
    const std::vector<std::string> history = ReadComboHistory("HistoryTest");
    ASSERT_EQ(history.size(), 10u);
    EXPECT_EQ(history.front(), "p10");
    EXPECT_EQ(history.back(), "p1"); // p0 was overwritten
    EXPECT_EQ(CQnSettings().ReadString("HistoryTest", "File0"), "p10");
}

TEST(ComboHistory, AddsNonEmptyTextsOnceThatTheComboLacks)
{
    EXPECT_EQ(HistoryTextsToAdd({"*.bmp", "", "*.gif", "*.bmp", "*.txt"}, {"*.txt"}),
              (std::vector<std::string>{"*.bmp", "*.gif"}));
}
