#include "app/folder_listing.h"

#include <algorithm>

namespace {
// FILETIME of 1970-01-01 00:00:00 UTC.
constexpr int64_t kUnixEpochStamp = 116444736000000000LL;
constexpr int64_t kStampsPerSecond = 10000000;

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}
} // namespace

FileStamp FileStampFromUnix(int64_t seconds, uint32_t nanoseconds)
{
    const int64_t stamp = kUnixEpochStamp + seconds * kStampsPerSecond + nanoseconds / 100;
    return stamp > 0 ? static_cast<FileStamp>(stamp) : 0;
}

int64_t UnixSecondsOfStamp(FileStamp stamp)
{
    const int64_t since = static_cast<int64_t>(stamp) - kUnixEpochStamp;
    // Floor division: a moment before 1970 belongs to the second that began before it.
    return since >= 0 ? since / kStampsPerSecond : -((-since + kStampsPerSecond - 1) / kStampsPerSecond);
}

bool NameLess(const std::string& a, const std::string& b)
{
    const bool folded = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                     [](char x, char y) { return Folded(x) < Folded(y); });
    if (folded)
        return true;
    const bool foldedReverse = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                            [](char x, char y) { return Folded(x) < Folded(y); });
    return !foldedReverse && a < b; // same letters: by byte value
}

void SortByName(std::vector<FolderEntry>& entries)
{
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NameLess(a.name, b.name); });
}

std::vector<FolderEntry> FilesOf(const std::vector<FolderEntry>& entries)
{
    std::vector<FolderEntry> files;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(files),
                 [](const FolderEntry& entry) { return !entry.IsFolder(); });
    return files;
}

std::vector<FolderEntry> FoldersOf(const std::vector<FolderEntry>& entries)
{
    std::vector<FolderEntry> folders;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(folders),
                 [](const FolderEntry& entry) { return entry.IsFolder(); });
    return folders;
}
