#include "filetools/common/drop_files_block.h"

#include <gtest/gtest.h>

TEST(DropFilesBlock, HeaderThenZeroEndedPathsThenAFinalZero)
{
    const std::vector<uint8_t> block = BuildDropFilesBlock({"C:\\a.txt", "D:\\b"}, 300, -2);
    const std::vector<uint8_t> expected = {
        20, 0, 0, 0,                 // offset of the file list
        44, 1, 0, 0,                 // drop point x = 300
        0xFE, 0xFF, 0xFF, 0xFF,      // y = -2
        0, 0, 0, 0, 0, 0, 0, 0,      // not in the non-client area, not wide characters
        'C', ':', '\\', 'a', '.', 't', 'x', 't', 0, 'D', ':', '\\', 'b', 0, 0};
    EXPECT_EQ(block, expected);
}

TEST(DropFilesBlock, NoPathsStillEndsTheList)
{
    const std::vector<uint8_t> block = BuildDropFilesBlock({}, 0, 0);
    ASSERT_EQ(block.size(), kDropFilesHeaderSize + 1);
    EXPECT_EQ(block.back(), 0);
}
