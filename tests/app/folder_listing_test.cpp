// The folder listing on the host's file system, and its portable sorting and picking.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/folder_listing.h"

namespace fs = std::filesystem;

namespace {
struct TempFolder {
    TempFolder() : path(fs::temp_directory_path() / ("qn_listing_" + std::to_string(::getpid())))
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(path / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(path, ignored);
    }
    void Write(const std::string& name, size_t bytes) const { std::ofstream(path / name) << std::string(bytes, 'x'); }
    fs::path path;
};

const FolderEntry* Find(const FolderListing& listing, const std::string& name)
{
    for (const FolderEntry& entry : listing.entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::vector<std::string> Names(const std::vector<FolderEntry>& entries)
{
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}
} // namespace

TEST(FolderListing, ListsFilesAndFoldersWithSizesTimesAndAttributes)
{
    TempFolder temp;
    temp.Write("b.txt", 1536);
    temp.Write(".hidden", 3);
    temp.Write("readonly.dat", 0);
    fs::permissions(temp.path / "readonly.dat", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(temp.path / "Sub");
    // A known modification time: 2001-09-09 01:46:40 UTC and a quarter second.
    const struct timeval times[2] = {{1000000000, 0}, {1000000000, 250000}};
    ASSERT_EQ(::utimes((temp.path / "b.txt").c_str(), times), 0);

    const FolderListing listing = ListFolder(temp.path.string());
    ASSERT_TRUE(listing.Ok());
    EXPECT_EQ(listing.entries.size(), 4u); // no "." or ".."
    EXPECT_EQ(Find(listing, "."), nullptr);
    EXPECT_EQ(Find(listing, ".."), nullptr);

    const FolderEntry* file = Find(listing, "b.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 1536u);
    EXPECT_FALSE(file->IsFolder());
    EXPECT_EQ(file->attributes, 0u);
    EXPECT_EQ(file->lastWrite, FileStampFromUnix(1000000000, 250000000));
    EXPECT_EQ(file->lastAccess, FileStampFromUnix(1000000000, 0));
    EXPECT_NE(file->created, 0u);

    const FolderEntry* folder = Find(listing, "Sub");
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->IsFolder());
    EXPECT_EQ(folder->size, 0u);
    EXPECT_TRUE(Find(listing, ".hidden")->Has(kAttributeHidden));
    EXPECT_TRUE(Find(listing, "readonly.dat")->Has(kAttributeReadOnly));
    EXPECT_FALSE(Find(listing, "readonly.dat")->Has(kAttributeHidden));

    // A trailing separator names the same folder.
    EXPECT_EQ(ListFolder(temp.path.string() + "/").entries.size(), 4u);
}

TEST(FolderListing, SizesBeyondFourGigabytesAreKept)
{
    TempFolder temp;
    const uint64_t size = (5ull << 30) + 7; // sparse: takes no room
    { std::ofstream(temp.path / "large.bin"); }
    ASSERT_EQ(::truncate((temp.path / "large.bin").c_str(), static_cast<off_t>(size)), 0);
    const FolderListing listing = ListFolder(temp.path.string());
    ASSERT_TRUE(listing.Ok());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].size, size);
}

TEST(FolderListing, FailuresAreToldApartFromAnEmptyFolder)
{
    TempFolder temp;
    temp.Write("file.txt", 1);
    fs::create_directory(temp.path / "empty");

    const FolderListing empty = ListFolder((temp.path / "empty").string());
    EXPECT_TRUE(empty.Ok());
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_EQ(ListFolder((temp.path / "missing").string()).status, FolderListingStatus::Missing);
    EXPECT_EQ(ListFolder((temp.path / "file.txt").string()).status, FolderListingStatus::NotAFolder);
    EXPECT_EQ(ListFolder("").status, FolderListingStatus::Missing);
    if (::geteuid() != 0) { // root reads any folder
        fs::create_directory(temp.path / "locked");
        fs::permissions(temp.path / "locked", fs::perms::none);
        EXPECT_EQ(ListFolder((temp.path / "locked").string()).status, FolderListingStatus::AccessDenied);
    }
}

TEST(FolderListing, SortsByNameIgnoringCaseWithAFixedOrderForCaseTwins)
{
    std::vector<FolderEntry> entries;
    for (const char* name : {"beta", "Gamma", "alpha", "B", "b", "Alpha", "_x", "a1", "zeta.txt", "Zeta"})
        entries.push_back({name});
    SortByName(entries);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"_x", "a1", "Alpha", "alpha", "B", "b", "beta", "Gamma", "Zeta",
                                                        "zeta.txt"}));
    EXPECT_TRUE(NameLess("abc", "ABCD"));
    EXPECT_FALSE(NameLess("same", "same"));
    // Bytes above 127 are compared as they are, after every ASCII letter.
    EXPECT_TRUE(NameLess("z", "\xE9t\xE9"));
}

TEST(FolderListing, PicksFilesOrFoldersInTheGivenOrder)
{
    std::vector<FolderEntry> entries = {{"c.txt"}, {"dir2"}, {"a.txt"}, {"dir1"}};
    entries[1].attributes = entries[3].attributes = kAttributeDirectory;
    EXPECT_EQ(Names(FilesOf(entries)), (std::vector<std::string>{"c.txt", "a.txt"}));
    EXPECT_EQ(Names(FoldersOf(entries)), (std::vector<std::string>{"dir2", "dir1"}));
}

TEST(FolderListing, StampsConvertToAndFromUnixTime)
{
    EXPECT_EQ(FileStampFromUnix(0, 0), 116444736000000000ull);
    EXPECT_EQ(UnixSecondsOfStamp(FileStampFromUnix(1234567890, 999999999)), 1234567890);
    EXPECT_EQ(UnixSecondsOfStamp(FileStampFromUnix(-1, 500000000)), -1);
    EXPECT_EQ(FileStampFromUnix(-20000000000LL, 0), 0u); // before 1601: unknown
}

TEST(FolderNames, SameNamesKindsAndOrderAsTheFullListingAndLinksAreFiles)
{
    TempFolder temp;
    temp.Write("a.txt", 1);
    temp.Write(".hidden", 2);
    fs::create_directories(temp.path / "sub");
    fs::create_symlink(temp.path / "sub", temp.path / "link-to-sub");
    std::vector<FolderName> names;
    ASSERT_TRUE(ListFolderNames(temp.path.string(), names));
    const FolderListing listing = ListFolder(temp.path.string());
    ASSERT_EQ(names.size(), listing.entries.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].name, listing.entries[i].name);
        const bool isLink = names[i].name == "link-to-sub";
        EXPECT_EQ(names[i].isFolder, isLink ? false : listing.entries[i].IsFolder()) << names[i].name;
    }
    EXPECT_FALSE(ListFolderNames((temp.path / "missing").string(), names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(ListFolderNames("", names));
}
