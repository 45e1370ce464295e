#pragma once
// The free and total bytes of the volume that holds a path. Used by the disks list, the
// explorer, setup and the archive reader.
#include <cstdint>
#include <string>

#include "systools/disks/disk_system.h"

// All bits set: the size of a network folder that the system cannot tell.
inline constexpr uint64_t kSizeNotAvailable = ~uint64_t{0};

// Windows: the extended free-space call when the system offers it (looked up at each call),
// on the path's short form; otherwise the cluster-based call on the path's drive root, or,
// for a UNC path naming an existing folder, kSizeNotAvailable for both. When the system's
// resources are exhausted the user is told so. {0, 0} when nothing can be found.
FreeSpace DiskFreeSpace(const std::string& path);

// The cluster-based call's figures as bytes (64-bit, no overflow for 32-bit counts).
FreeSpace SpaceFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters,
                            uint32_t totalClusters);

// Two leading backslashes.
bool IsUncPath(const std::string& path);
// The drive letter of "c:..." in upper case, or 0.
char PathDriveLetter(const std::string& path);
