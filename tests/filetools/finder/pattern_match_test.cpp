// Pattern lists and name matching.
#include <gtest/gtest.h>

#include "filetools/finder/pattern_match.h"

using Patterns = std::vector<std::string>;

TEST(SplitPatterns, SemicolonsSeparateAndAFinalOneIsImplied)
{
    EXPECT_EQ(SplitPatterns("*.bmp;*.gif"), (Patterns{"*.bmp", "*.gif"}));
    EXPECT_EQ(SplitPatterns("*.bmp;"), SplitPatterns("*.bmp"));
    EXPECT_EQ(SplitPatterns("*.bmp"), (Patterns{"*.bmp"}));
}

TEST(SplitPatterns, AnEmptyPieceEndsTheListAndAnEmptyTextMeansEverything)
{
    EXPECT_EQ(SplitPatterns("a;;b"), (Patterns{"a"}));
    EXPECT_EQ(SplitPatterns(";a"), Patterns{});
    EXPECT_EQ(SplitPatterns(""), (Patterns{"*"}));
}

TEST(MatchPattern, StarTriesEveryLength)
{
    EXPECT_TRUE(MatchPattern("my.notes.txt", "*.txt"));
    EXPECT_TRUE(MatchPattern("aab", "*ab"));
    EXPECT_TRUE(MatchPattern("abcabd", "*abd"));
    EXPECT_TRUE(MatchPattern("x.a.b.c", "*.?.c"));
    EXPECT_TRUE(MatchPattern("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(MatchPattern("my.notes.doc", "*.txt"));
    EXPECT_FALSE(MatchPattern("ab", "*abc"));
}

TEST(MatchPattern, AUsedUpPatternMatchesWhateverRemains)
{
    EXPECT_TRUE(MatchPattern("readme.txt", "*.txt"));
    EXPECT_TRUE(MatchPattern("readme.txt.bak", "*.txt"));
    EXPECT_TRUE(MatchPattern("abcd", "a?c"));
    EXPECT_TRUE(MatchPattern("abc", "*b*"));
    EXPECT_TRUE(MatchPattern("anything", ""));
    EXPECT_TRUE(MatchPattern("", "*"));
}

TEST(MatchPattern, AUsedUpNameMatchesOnlyStarsLeft)
{
    EXPECT_TRUE(MatchPattern("ab", "ab**"));
    EXPECT_FALSE(MatchPattern("ab", "ab?"));
    EXPECT_FALSE(MatchPattern("a", "a*b"));
    EXPECT_FALSE(MatchPattern("", "?"));
}

TEST(MatchPattern, QuestionMarksAndCase)
{
    EXPECT_TRUE(MatchPattern("PHOTO.BMP", "*.bmp"));
    EXPECT_TRUE(MatchPattern("photo.bmp", "*.BMP"));
    EXPECT_TRUE(MatchPattern("abc", "*??c"));
    EXPECT_FALSE(MatchPattern("ac", "*??c"));
    EXPECT_FALSE(MatchPattern("abc", "abd"));
}
