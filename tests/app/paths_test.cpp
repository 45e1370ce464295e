#include <gtest/gtest.h>

#include "app/paths.h"
#include "app/settings.h"

TEST(JoinPath, JoinsWithOneSeparator)
{
    EXPECT_EQ(JoinPath("C:\\Temp\\", "\\a"), "C:\\Temp\\a");
    EXPECT_EQ(JoinPath("C:\\Temp", "a"), "C:\\Temp\\a");
    EXPECT_EQ(JoinPath("C:\\Temp\\", "a"), "C:\\Temp\\a");
    EXPECT_EQ(JoinPath("", "x"), "x");
    EXPECT_EQ(JoinPath("", "\\x"), "x");
    EXPECT_EQ(JoinPath("", ""), "");
    EXPECT_EQ(JoinPath("C:\\Temp", ""), "C:\\Temp");
    EXPECT_EQ(JoinPath("C:\\Temp", "\\"), "C:\\Temp");
    // Only one leading separator of b is dropped.
    EXPECT_EQ(JoinPath("a", "\\\\b"), "a\\\\b");
}

TEST(SettingsSection, TrailingSeparatorIsDropped)
{
    EXPECT_EQ(CQnSettings::SectionPath("Options\\ListPrinting\\"), "Software\\Ostrel\\Quenta\\Options\\ListPrinting");
    EXPECT_EQ(CQnSettings::SectionPath("Options\\ListPrinting/"), "Software\\Ostrel\\Quenta\\Options\\ListPrinting");
    EXPECT_EQ(CQnSettings::SectionPath("Options"), "Software\\Ostrel\\Quenta\\Options");
    EXPECT_EQ(CQnSettings::SectionPath(""), "Software\\Ostrel\\Quenta");
    EXPECT_EQ(CQnSettings::SectionPath("\\Folders"), "Software\\Ostrel\\Quenta\\Folders");
}

TEST(KeyPath, SplitsOnBackslashOnly)
{
    EXPECT_EQ(SplitKeyPath("Software\\Ostrel\\\\Quenta\\"), (std::vector<std::string>{"Software", "Ostrel", "Quenta"}));
    EXPECT_EQ(SplitKeyPath("MIME\\image/jpeg"), (std::vector<std::string>{"MIME", "image/jpeg"}));
    EXPECT_TRUE(SplitKeyPath("").empty());
    EXPECT_EQ(FolderOf("C:\\Program Files\\q.exe"), "C:\\Program Files\\");
    EXPECT_EQ(FolderOf("q.exe"), "");
}

TEST(AbsolutePath, DriveWithSeparatorOrNetworkPath)
{
    EXPECT_TRUE(IsAbsoluteWindowsPath("C:\\Temp"));
    EXPECT_TRUE(IsAbsoluteWindowsPath("c:/Temp"));
    EXPECT_TRUE(IsAbsoluteWindowsPath("\\\\server\\share\\x"));
    EXPECT_FALSE(IsAbsoluteWindowsPath("Temp\\x"));
    EXPECT_FALSE(IsAbsoluteWindowsPath("C:Temp")); // relative to drive C's current folder
    EXPECT_FALSE(IsAbsoluteWindowsPath("\\Temp"));
    EXPECT_FALSE(IsAbsoluteWindowsPath(""));
    EXPECT_FALSE(IsAbsoluteWindowsPath("..\\x"));

    EXPECT_TRUE(IsWindowsRootPath("C:\\"));
    EXPECT_TRUE(IsWindowsRootPath("C:"));
    EXPECT_TRUE(IsWindowsRootPath("\\\\server\\share\\"));
    EXPECT_FALSE(IsWindowsRootPath("C:\\Temp"));
    EXPECT_FALSE(IsWindowsRootPath("\\\\server\\share\\x"));
}
