#include "filetools/explorer/folder_summary.h"

#include <gtest/gtest.h>

namespace {
FolderEntry File(const char* name, uint64_t size) { return {name, size, 0, 0, 0, kAttributeArchive}; }
FolderEntry Folder(const char* name) { return {name, 0, 0, 0, 0, kAttributeDirectory}; }
} // namespace

TEST(FolderSummary, CountsFilesAndSubFoldersAndAddsOnlyFileSizes)
{
    FolderListing listing;
    listing.status = FolderListingStatus::Ok;
    listing.entries = {File("a.bmp", 1023), Folder("."), Folder(".."), Folder("sub"), File("b", 1), Folder("x")};
    const FolderSummary summary = SummariseFolder("C:\\pictures\\holiday\\", listing);
    EXPECT_EQ(summary.name, "holiday");
    EXPECT_EQ(summary.parent, "C:\\pictures\\");
    EXPECT_EQ(summary.totalSize, 1024u);
    EXPECT_EQ(summary.files, 2);
    EXPECT_EQ(summary.folders, 2);
}

TEST(FolderSummary, ADriveRootIsItsOwnNameAndAnEmptyFolderCountsNothing)
{
    const FolderSummary root = SummariseFolder("C:", FolderListing{});
    EXPECT_EQ(root.name, "C:\\");
    EXPECT_EQ(root.parent, "");
    EXPECT_EQ(root.files, 0);
    EXPECT_EQ(SummariseFolder("", FolderListing{}).name, "");
}

TEST(FolderSummary, TrailingSeparatorIsExactlyOne)
{
    EXPECT_EQ(WithTrailingSeparator("C:\\a"), "C:\\a\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}
