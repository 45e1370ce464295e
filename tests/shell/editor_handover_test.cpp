#include "shell/editor_handover.h"

#include <gtest/gtest.h>

TEST(EditorHandover, TemporaryFileTakesTheDescriptionsNameAsABitmap)
{
    EXPECT_EQ(EditorHandoverFileName("C:\\Pictures\\holiday.jpg", 5), "holiday.bmp");
    EXPECT_EQ(EditorHandoverFileName("C:\\Pictures\\archive.tar.gz", 5), "archive.tar.bmp");
    EXPECT_EQ(EditorHandoverFileName("scan", 5), "scan.bmp");
    EXPECT_EQ(EditorHandoverFileName("/home/me/shot.png", 5), "shot.bmp");
}

TEST(EditorHandover, TemporaryFileFallsBackToTheTimeWithoutAUsableName)
{
    EXPECT_EQ(EditorHandoverFileName("", 1234567890), "1234567890.bmp");
    EXPECT_EQ(EditorHandoverFileName("C:\\Pictures\\", 42), "42.bmp");
    EXPECT_EQ(EditorHandoverFileName(".bmp", 42), "42.bmp");
    EXPECT_EQ(EditorHandoverFileName("C:\\x\\ . .", 42), "42.bmp");
}

TEST(EditorHandover, TemporaryFileNeverHoldsCharactersFileNamesRefuse)
{
    EXPECT_EQ(EditorHandoverFileName("Capture <1>: \"desk\"|*?.gif", 1), "Capture _1__ _desk____.bmp");
    EXPECT_EQ(EditorHandoverFileName(std::string("a\tb\x01.tif"), 1), "a_b_.bmp");
}
