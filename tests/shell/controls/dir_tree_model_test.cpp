#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/controls/dir_tree_model.h"

using namespace dirtree;

TEST(DirTreePatterns, WildcardsIgnoreLetterCase)
{
    EXPECT_TRUE(MatchesPattern("Photo.JPG", "*.jpg"));
    EXPECT_TRUE(MatchesPattern("a.b.c", "*.c"));
    EXPECT_TRUE(MatchesPattern("img01.bmp", "img??.bmp"));
    EXPECT_FALSE(MatchesPattern("img1.bmp", "img??.bmp"));
    EXPECT_FALSE(MatchesPattern("photo.jpeg", "*.jpg"));
    EXPECT_TRUE(MatchesPattern("abcbcd", "a*bcd"));  // backtracking past an early match
    EXPECT_FALSE(MatchesPattern("abcbce", "a*bcd"));
    EXPECT_TRUE(MatchesPattern("README", "*.*"));    // as the system's search does
    EXPECT_FALSE(MatchesPattern("", "?"));
}

TEST(DirTreePatterns, ListSplitsOnSemicolonsAndDefaultsToEverything)
{
    EXPECT_EQ(SplitPatternList(" *.bmp ; *.gif;;*.png "), (std::vector<std::string>{"*.bmp", "*.gif", "*.png"}));
    EXPECT_EQ(SplitPatternList(""), std::vector<std::string>{"*.*"});
    EXPECT_EQ(SplitPatternList(" ; "), std::vector<std::string>{"*.*"});
    const auto pictures = SplitPatternList("*.bmp;*.gif");
    EXPECT_TRUE(MatchesAnyPattern("x.GIF", pictures));
    EXPECT_FALSE(MatchesAnyPattern("x.txt", pictures));
}

TEST(DirTreeSorting, FoldersFirstThenNamesIgnoringCase)
{
    std::vector<Entry> entries = {{"b.txt", false}, {"Zeta", true}, {"A.txt", false}, {"alpha", true}, {"c", false}};
    SortEntries(entries);
    std::vector<std::string> names;
    for (const Entry& e : entries)
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Zeta", "A.txt", "b.txt", "c"}));
}

TEST(DirTreePath, StepsFromTheDriveDown)
{
    EXPECT_EQ(SplitTreePath("c:\\Windows\\System32"), (std::vector<std::string>{"C:\\", "Windows", "System32"}));
    EXPECT_EQ(SplitTreePath("D:/a//b/"), (std::vector<std::string>{"D:\\", "a", "b"}));
    EXPECT_EQ(SplitTreePath("E:"), std::vector<std::string>{"E:\\"});
    EXPECT_TRUE(SplitTreePath("\\\\server\\share").empty());
    EXPECT_TRUE(SplitTreePath("relative\\path").empty());
    EXPECT_TRUE(SplitTreePath("C:relative").empty());
    EXPECT_EQ(ChildPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(ChildPath("C:\\a", "b"), "C:\\a\\b");
}
