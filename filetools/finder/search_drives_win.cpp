// Windows: the logical drives from GetLogicalDrives, each with its GetDriveType kind.
#include "filetools/finder/search_drives.h"

#include <windows.h>

std::vector<LogicalDrive> ListLogicalDrives()
{
    std::vector<LogicalDrive> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = static_cast<char>('A' + i);
        const UINT type = GetDriveTypeA(DriveRoot(letter).c_str());
        drives.push_back({letter, type <= DRIVE_RAMDISK ? static_cast<DriveKind>(type) : DriveKind::Unknown});
    }
    return drives;
}
