// Windows: lists a folder with FindFirstFile / FindNextFile ("*" in the folder).
#include "app/folder_listing.h"

#include <windows.h>

#include "app/paths.h"

namespace {
constexpr uint32_t kKeptAttributes =
    kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeDirectory | kAttributeArchive;

FileStamp StampOf(const FILETIME& time)
{
    return (static_cast<FileStamp>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FolderListingStatus StatusOfError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_NOT_READY: return FolderListingStatus::Missing;
    case ERROR_DIRECTORY: return FolderListingStatus::NotAFolder;
    case ERROR_ACCESS_DENIED: return FolderListingStatus::AccessDenied;
    default: return FolderListingStatus::Failed;
    }
}
} // namespace

FolderListing ListFolder(const std::string& folder)
{
    FolderListing listing;
    // Asked first, so that a file or a missing path is told apart from an empty folder.
    const DWORD kind = GetFileAttributesA(WithoutTrailingSeparator(folder).c_str());
    const bool isRoot = folder.size() <= 3 && folder.size() >= 2 && folder[1] == ':';
    if (!isRoot) {
        if (kind == INVALID_FILE_ATTRIBUTES) {
            listing.status = StatusOfError(GetLastError());
            return listing;
        }
        if (!(kind & FILE_ATTRIBUTE_DIRECTORY)) {
            listing.status = FolderListingStatus::NotAFolder;
            return listing;
        }
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        listing.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? FolderListingStatus::Ok
                                                                                       : StatusOfError(error);
        return listing;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        entry.attributes = found.dwFileAttributes & kKeptAttributes;
        entry.size = entry.IsFolder() ? 0 : (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.created = StampOf(found.ftCreationTime);
        entry.lastAccess = StampOf(found.ftLastAccessTime);
        entry.lastWrite = StampOf(found.ftLastWriteTime);
        listing.entries.push_back(std::move(entry));
    } while (FindNextFileA(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    listing.status = error == ERROR_NO_MORE_FILES ? FolderListingStatus::Ok : StatusOfError(error);
    if (!listing.Ok())
        listing.entries.clear();
    return listing;
}

// The basic information level without short names, in large fetches: the fastest listing the
// system offers for a walk.
bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names)
{
    names.clear();
    if (folder.empty())
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileExA(JoinPath(folder, "*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found); // older systems know no basic level
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const char* name = found.cFileName;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        names.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
