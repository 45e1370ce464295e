// The folder listing through FindFirstFile under Wine: sizes (64-bit), the three times and
// the attributes as the file system keeps them, and the failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/folder_listing.h"
#include "app/paths.h"
#include "app/services.h"

namespace {
const FolderEntry* Find(const FolderListing& listing, const std::string& name)
{
    for (const FolderEntry& entry : listing.entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}
} // namespace

TEST(FolderListingWin, ListsEntriesWithTheirSizeTimesAndAttributes)
{
    const std::string root = JoinPath(SystemTempPath(), "quenta_listing_" + std::to_string(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(JoinPath(root, "Sub").c_str(), nullptr));

    const std::string large = JoinPath(root, "large.bin");
    HANDLE file = CreateFileA(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = (5LL << 30) + 3;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    FILETIME written{}; // 2001-09-09 01:46:40 UTC
    const FileStamp stamp = FileStampFromUnix(1000000000, 0);
    written.dwLowDateTime = static_cast<DWORD>(stamp);
    written.dwHighDateTime = static_cast<DWORD>(stamp >> 32);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    const std::string hidden = JoinPath(root, "hidden.txt");
    CloseHandle(CreateFileA(hidden.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    const FolderListing listing = ListFolder(root + "\\");
    ASSERT_TRUE(listing.Ok());
    EXPECT_EQ(listing.entries.size(), 3u); // "." and ".." left out
    const FolderEntry* big = Find(listing, "large.bin");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->size, static_cast<uint64_t>(end.QuadPart));
    EXPECT_EQ(big->lastWrite, stamp);
    EXPECT_NE(big->created, 0u);
    EXPECT_NE(big->lastAccess, 0u);
    EXPECT_FALSE(big->IsFolder());
    const FolderEntry* sub = Find(listing, "Sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->IsFolder());
    EXPECT_EQ(sub->size, 0u);
    const FolderEntry* marked = Find(listing, "hidden.txt");
    ASSERT_NE(marked, nullptr);
    EXPECT_TRUE(marked->Has(kAttributeHidden));
    EXPECT_TRUE(marked->Has(kAttributeReadOnly));
    EXPECT_EQ(marked->attributes & ~(kAttributeHidden | kAttributeReadOnly | kAttributeArchive), 0u);

    EXPECT_EQ(ListFolder(JoinPath(root, "missing")).status, FolderListingStatus::Missing);
    EXPECT_EQ(ListFolder(large).status, FolderListingStatus::NotAFolder);
    EXPECT_EQ(ListFolder("").status, FolderListingStatus::Missing);
    const FolderListing empty = ListFolder(JoinPath(root, "Sub"));
    EXPECT_TRUE(empty.Ok());
    EXPECT_TRUE(empty.entries.empty());

    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFolderTree(root));
}
