#include "filetools/common/free_names.h"

#include <gtest/gtest.h>

#include <set>

namespace {
PathExists ExistingIn(std::set<std::string> paths)
{
    return [paths = std::move(paths)](const std::string& path) { return paths.count(path) != 0; };
}
} // namespace

TEST(FreeTargetPaths, FreeNamesAreKeptAndTakenOnesNumberedBeforeTheExtension)
{
    const auto exists = ExistingIn({"D:\\to\\a.txt", "D:\\to\\a (2).txt", "D:\\to\\notes"});
    EXPECT_EQ(FreeTargetPaths({"C:\\from\\a.txt", "C:\\from\\b.txt", "C:\\from\\notes"}, "D:\\to", exists),
              (std::vector<std::string>{"D:\\to\\a (3).txt", "D:\\to\\b.txt", "D:\\to\\notes (2)"}));
}

TEST(FreeTargetPaths, NamesOfTheSameOperationDoNotCollideWhateverTheirCase)
{
    const auto nothing = ExistingIn({});
    EXPECT_EQ(FreeTargetPaths({"C:\\one\\Photo.JPG", "C:\\two\\photo.jpg", "C:\\three\\PHOTO.jpg"}, "D:\\to\\", nothing),
              (std::vector<std::string>{"D:\\to\\Photo.JPG", "D:\\to\\photo (2).jpg", "D:\\to\\PHOTO (3).jpg"}));
}

TEST(FreeTargetPaths, DotFilesAndMultipleDotsKeepTheirLastExtension)
{
    const auto exists = ExistingIn({"D:\\to\\.profile", "D:\\to\\my.notes.txt"});
    EXPECT_EQ(FreeTargetPaths({"C:\\.profile", "C:\\my.notes.txt"}, "D:\\to", exists),
              (std::vector<std::string>{"D:\\to\\.profile (2)", "D:\\to\\my.notes (2).txt"}));
}

TEST(FreeTargetPaths, AFileMovedIntoItsOwnFolderKeepsItsName)
{
    const auto exists = ExistingIn({"C:\\here\\a.txt"});
    EXPECT_EQ(FreeTargetPaths({"C:\\here\\a.txt"}, "c:\\HERE", exists),
              (std::vector<std::string>{"c:\\HERE\\a.txt"}));
}

TEST(FileNamePart, AfterTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ(FileNamePart("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(FileNamePart("/tmp/x/c"), "c");
    EXPECT_EQ(FileNamePart("plain"), "plain");
}
