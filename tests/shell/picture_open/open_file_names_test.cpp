// The open dialog's result list and filter text.
#include "shell/picture_open/open_file_names.h"

#include <gtest/gtest.h>

using Paths = std::vector<std::string>;

namespace {
Paths Parse(const std::string& buffer) { return ParseOpenFileNames(buffer.data(), buffer.size()); }
} // namespace

TEST(OpenFileNames, OneFileIsItsFullPath)
{
    EXPECT_EQ(Parse(std::string("C:\\pictures\\a.bmp\0\0", 19)), Paths{"C:\\pictures\\a.bmp"});
}

TEST(OpenFileNames, SeveralFilesJoinTheFolderWithEachName)
{
    EXPECT_EQ(Parse(std::string("C:\\pictures\0a.bmp\0b c.png\0\0", 27)),
              (Paths{"C:\\pictures\\a.bmp", "C:\\pictures\\b c.png"}));
    // A drive root already ends with its separator.
    EXPECT_EQ(Parse(std::string("C:\\\0a.bmp\0b.gif\0\0", 17)), (Paths{"C:\\a.bmp", "C:\\b.gif"}));
    // A name that is a whole path stands on its own.
    EXPECT_EQ(Parse(std::string("C:\\p\0D:\\x.bmp\0y.bmp\0\0", 21)), (Paths{"D:\\x.bmp", "C:\\p\\y.bmp"}));
}

TEST(OpenFileNames, EmptyOrUnterminatedBuffersStayInside)
{
    EXPECT_TRUE(Parse(std::string("\0\0", 2)).empty());
    EXPECT_TRUE(ParseOpenFileNames(nullptr, 10).empty());
    // No terminating NUL at all: reading stops at the end of the buffer.
    const char cut[] = "C:\\p\0a.bmp\0b.b";
    EXPECT_EQ(ParseOpenFileNames(cut, sizeof cut - 1), (Paths{"C:\\p\\a.bmp", "C:\\p\\b.b"}));
}

TEST(OpenFileNames, FilterSeparatorsBecomeNulsEndedTwice)
{
    EXPECT_EQ(OpenDialogFilter("All|*.*"), std::string("All\0*.*\0\0", 9));
    EXPECT_EQ(OpenDialogFilter("All|*.*||"), std::string("All\0*.*\0\0", 9));
    EXPECT_EQ(OpenDialogFilter("All|*.*|"), std::string("All\0*.*\0\0", 9));
}
