// Linux: lists a folder with readdir and stat. A name with a leading dot counts as hidden, a
// file its owner may not write as read-only; "system" and "archive" are never set. Symbolic
// links are described by what they point to (a dangling link by the link itself).
#include "app/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace {
FolderListingStatus StatusOfError(int error)
{
    switch (error) {
    case ENOENT: return FolderListingStatus::Missing;
    case ENOTDIR: return FolderListingStatus::NotAFolder;
    case EACCES:
    case EPERM: return FolderListingStatus::AccessDenied;
    default: return FolderListingStatus::Failed;
    }
}

FileStamp StampOf(const struct timespec& time) { return FileStampFromUnix(time.tv_sec, time.tv_nsec); }

// Creation time where the file system keeps one (statx birth time), else the status change.
FileStamp CreationStamp(int folder, const char* name, const struct stat& info)
{
#if defined(STATX_BTIME)
    struct statx extended{};
    if (::statx(folder, name, AT_STATX_DONT_SYNC, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME))
        return FileStampFromUnix(extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec);
#else
    (void)folder;
    (void)name;
#endif
    return StampOf(info.st_ctim);
}
} // namespace

FolderListing ListFolder(const std::string& folder)
{
    FolderListing listing;
    if (folder.empty()) { // as on Windows: no name, no folder
        listing.status = FolderListingStatus::Missing;
        return listing;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        listing.status = StatusOfError(errno);
        return listing;
    }
    const int descriptor = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const std::string name = found->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info;
        if (::fstatat(descriptor, name.c_str(), &info, 0) != 0 &&
            ::fstatat(descriptor, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since readdir saw it
        FolderEntry entry;
        entry.name = name;
        const bool isFolder = S_ISDIR(info.st_mode);
        entry.size = isFolder ? 0 : static_cast<uint64_t>(info.st_size);
        entry.lastWrite = StampOf(info.st_mtim);
        entry.lastAccess = StampOf(info.st_atim);
        entry.created = CreationStamp(descriptor, name.c_str(), info);
        if (isFolder)
            entry.attributes |= kAttributeDirectory;
        if (name[0] == '.')
            entry.attributes |= kAttributeHidden;
        if (!(info.st_mode & S_IWUSR))
            entry.attributes |= kAttributeReadOnly;
        listing.entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    listing.status = FolderListingStatus::Ok;
    return listing;
}

// The kind comes from the directory entry itself where the file system gives it, so a folder
// of plain files costs no stat at all.
bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names)
{
    names.clear();
    if (folder.empty())
        return false;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    const int descriptor = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const char* name = found->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = found->d_type == DT_DIR;
        if (found->d_type == DT_UNKNOWN) {
            struct stat info;
            if (::fstatat(descriptor, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since readdir saw it
            isFolder = S_ISDIR(info.st_mode);
        }
        names.push_back({name, isFolder});
    }
    ::closedir(dir);
    return true;
}
