#pragma once
// The entries of one folder: its files and sub-folders with size, times and attributes, in the
// order the file system lists them ("." and ".." left out). The portable part sorts and picks;
// the listing itself comes from folder_listing_win.cpp (FindFirstFile / FindNextFile) or
// folder_listing_native.cpp (POSIX, for tests and tools on the build machine).
#include <cstdint>
#include <string>
#include <vector>

// A moment as the file system keeps it: 100-ns intervals since 1601-01-01 UTC (a FILETIME);
// 0 when the file system does not know it.
using FileStamp = uint64_t;

// Converts between file stamps and seconds + nanoseconds since 1970-01-01 UTC.
FileStamp FileStampFromUnix(int64_t seconds, uint32_t nanoseconds);
int64_t UnixSecondsOfStamp(FileStamp stamp);

// Attribute bits, with the values of the Windows FILE_ATTRIBUTE_* flags so that Windows code
// can pass them on as they are.
enum FolderEntryAttribute : uint32_t {
    kAttributeReadOnly = 0x01,
    kAttributeHidden = 0x02,
    kAttributeSystem = 0x04,
    kAttributeDirectory = 0x10,
    kAttributeArchive = 0x20,
};

struct FolderEntry {
    std::string name; // without the folder
    uint64_t size = 0; // bytes; 0 for a sub-folder
    FileStamp created = 0;
    FileStamp lastAccess = 0;
    FileStamp lastWrite = 0;
    uint32_t attributes = 0; // FolderEntryAttribute bits

    bool IsFolder() const { return (attributes & kAttributeDirectory) != 0; }
    bool Has(FolderEntryAttribute attribute) const { return (attributes & attribute) != 0; }
};

enum class FolderListingStatus {
    Ok,
    Missing,      // nothing of that name
    NotAFolder,   // a file of that name
    AccessDenied,
    Failed,       // any other failure of the file system
};

struct FolderListing {
    FolderListingStatus status = FolderListingStatus::Failed;
    std::vector<FolderEntry> entries; // empty unless status is Ok

    bool Ok() const { return status == FolderListingStatus::Ok; }
};

// Lists `folder` (with or without a trailing separator; an empty path is Missing). Entries the
// file system cannot describe any more (removed while listing) are left out.
FolderListing ListFolder(const std::string& folder);

// Sorts by name, ascending, ignoring the case of ASCII letters (other bytes compare by
// value); names equal but for case keep a fixed order (upper case first, by byte value).
void SortByName(std::vector<FolderEntry>& entries);
// Whether `a` sorts before `b` in that order.
bool NameLess(const std::string& a, const std::string& b);

// The files only / the sub-folders only, in the order given.
std::vector<FolderEntry> FilesOf(const std::vector<FolderEntry>& entries);
std::vector<FolderEntry> FoldersOf(const std::vector<FolderEntry>& entries);

// Names and kinds only, in the order the file system lists them ("." and ".." left out): what
// a walk over many folders needs, without the sizes and times ListFolder asks for. On POSIX a
// symbolic link counts as a file, so a walk never follows one into a loop.
struct FolderName {
    std::string name;
    bool isFolder = false;
};
// Replaces `names` with the folder's entries; false (and no entries) when it cannot be listed.
bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names);
