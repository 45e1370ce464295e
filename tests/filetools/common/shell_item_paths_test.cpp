#include "filetools/common/shell_item_paths.h"

#include <gtest/gtest.h>

TEST(SplitIntoOneFolder, FilesOfOneFolderGiveTheFolderAndTheirNamesInOrder)
{
    auto items = SplitIntoOneFolder({"C:\\Links\\b.lnk", "c:\\LINKS\\A.lnk"});
    ASSERT_TRUE(items);
    EXPECT_EQ(items->folder, "C:\\Links");
    EXPECT_EQ(items->names, (std::vector<std::string>{"b.lnk", "A.lnk"}));
}

TEST(SplitIntoOneFolder, AFileInADriveRootKeepsTheRootSeparator)
{
    auto items = SplitIntoOneFolder({"C:\\boot.ini"});
    ASSERT_TRUE(items);
    EXPECT_EQ(items->folder, "C:\\");
    EXPECT_EQ(items->names, std::vector<std::string>{"boot.ini"});
}

TEST(SplitIntoOneFolder, RefusesWhatTheShellCannotTakeAsItemsOfOneFolder)
{
    EXPECT_FALSE(SplitIntoOneFolder({}));
    EXPECT_FALSE(SplitIntoOneFolder({"C:\\a\\x.lnk", "C:\\b\\y.lnk"}));
    EXPECT_FALSE(SplitIntoOneFolder({"C:\\a\\x.lnk", "C:\\a\\"}));
    EXPECT_FALSE(SplitIntoOneFolder({"no-folder.lnk"}));
    EXPECT_FALSE(SplitIntoOneFolder({"\\x.lnk"}));
}
