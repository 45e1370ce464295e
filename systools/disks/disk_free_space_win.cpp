// Windows: GetDiskFreeSpaceExA when KERNEL32 offers it, else GetDiskFreeSpaceA on the root.
#include <windows.h>

#include "app/message.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/disks/disk_free_space.h"

namespace {
using FreeSpaceExCall = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Looked up at each call, as a system without the call may gain it (and tests may hide it).
FreeSpaceExCall ExtendedCall()
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? reinterpret_cast<FreeSpaceExCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")))
                  : nullptr;
}

std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : path;
}

bool IsExistingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

FreeSpace DiskFreeSpace(const std::string& path)
{
    if (FreeSpaceExCall extended = ExtendedCall()) {
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!extended(ShortForm(path).c_str(), &available, &total, &totalFree))
            return {};
        return {totalFree.QuadPart, total.QuadPart};
    }
    if (const char letter = PathDriveLetter(path)) {
        const char root[] = {letter, ':', '\\', '\0'};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
            return SpaceFromClusters(sectorsPerCluster, bytesPerSector, freeClusters, clusters);
        if (GetLastError() == ERROR_NO_SYSTEM_RESOURCES)
            ShowMessage(LoadText(IDS_DISK_NO_RESOURCES));
        return {};
    }
    if (IsUncPath(path) && IsExistingFolder(path))
        return {kSizeNotAvailable, kSizeNotAvailable};
    return {};
}
