#pragma once
// One drive of the disks module: what the enumeration found about it, kept until the list is
// filled again.
#include <cstdint>
#include <string>

// The drive kinds the module lists, with the system's drive type codes.
enum DiskType : unsigned {
    kDiskRemovable = 2,
    kDiskFixed = 3,
    kDiskRemote = 4,
    kDiskCdRom = 5,
    kDiskRam = 6,
};

bool IsListedDiskType(unsigned type);

struct DiskRecord {
    std::string volumeLabel;    // as shown: first character kept, the rest in lower case; "Unknown"
    std::string rootPath;       // "C:\"
    std::string typeName;       // "Removable", "Local Disk", ...
    std::string fileSystemName; // "Unknown" when unreadable
    unsigned driveType = 0;     // a DiskType
    uint32_t volumeSerial = 0;
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0;
    uint32_t maxComponentLength = 0;
    std::string iconLocation;   // "%s,%d"; empty when the shell gives none
};
