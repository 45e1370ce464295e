// Linux: stat. A name with a leading dot counts as hidden, a file its owner may not write as
// read-only (as the native folder listing says).
#include "filetools/properties/file_facts.h"

#include <sys/stat.h>

#include "app/paths.h"

bool ReadFileFacts(const std::string& path, FileFacts& facts)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    facts.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
    facts.created = FileStampFromUnix(info.st_ctim.tv_sec, info.st_ctim.tv_nsec);
    facts.lastAccess = FileStampFromUnix(info.st_atim.tv_sec, info.st_atim.tv_nsec);
    facts.lastWrite = FileStampFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    uint32_t attributes = 0;
    if (S_ISDIR(info.st_mode))
        attributes |= kAttributeDirectory;
    if (!(info.st_mode & S_IWUSR))
        attributes |= kAttributeReadOnly;
    const std::string name = PathNamePart(path);
    if (!name.empty() && name[0] == '.')
        attributes |= kAttributeHidden;
    facts.attributes = attributes;
    return true;
}
