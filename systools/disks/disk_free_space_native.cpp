// POSIX: the volume of a path through statvfs (no drive letters, no UNC paths).
#include <sys/statvfs.h>

#include "systools/disks/disk_free_space.h"

FreeSpace DiskFreeSpace(const std::string& path)
{
    struct statvfs info{};
    if (path.empty() || statvfs(path.c_str(), &info) != 0)
        return {};
    return {static_cast<uint64_t>(info.f_bavail) * info.f_frsize, static_cast<uint64_t>(info.f_blocks) * info.f_frsize};
}
