#pragma once
// The drives an "All disks" search walks: fixed and RAM disks, and a drive whose root the
// system reports missing; removable, network and CD-ROM drives are left out.
#include <string>
#include <vector>

// The kinds of GetDriveType, with its values.
enum class DriveKind { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct LogicalDrive {
    char letter = 'C'; // upper case
    DriveKind kind = DriveKind::Unknown;
};

// Platform adapter: the system's logical drives in letter order (search_drives_win.cpp);
// none on POSIX, which has no drive letters (search_drives_native.cpp).
std::vector<LogicalDrive> ListLogicalDrives();

bool IsSearchedDrive(DriveKind kind);
// The letters of the searched drives, in the order given.
std::vector<char> SearchedDriveLetters(const std::vector<LogicalDrive>& drives);
// A drive's root as a start folder: "C:\".
std::string DriveRoot(char letter);
// The drive letter of a path ("c:\x" gives 'C'), or 0 for a path without one.
char DriveLetterOf(const std::string& path);
// Whether `path` lies on drive `letter` (upper case).
bool IsOnDrive(const std::string& path, char letter);
// The folder box's first entry: the "All disks" text, " ( ", the letters each followed by a
// comma, the last comma dropped, and " )": "All disks ( C,D )".
std::string AllDisksEntryText(const std::string& allDisks, const std::vector<char>& letters);
