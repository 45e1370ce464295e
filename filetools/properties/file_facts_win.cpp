// Windows: GetFileAttributesEx gives size, times and attributes in one call without opening
// the file (so a file another program holds open is described too).
#include "filetools/properties/file_facts.h"

#include <windows.h>

namespace {
FileStamp StampOf(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
} // namespace

bool ReadFileFacts(const std::string& path, FileFacts& facts)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    facts.created = StampOf(data.ftCreationTime);
    facts.lastAccess = StampOf(data.ftLastAccessTime);
    facts.lastWrite = StampOf(data.ftLastWriteTime);
    facts.attributes = data.dwFileAttributes;
    return true;
}
