#pragma once
// The free and total bytes of the volume that holds a path. Used by the disks list, the
// explorer, setup and the archive reader.
#include <cstdint>
#include <optional>
#include <string>

#include "systools/disks/disk_system.h"

// All bits set: the size of a network folder that the system cannot tell.
inline constexpr uint64_t kSizeNotAvailable = ~uint64_t{0};

// Windows: the extended free-space call when the system offers it (looked up at each call),
// on the path's short form; otherwise the cluster-based call on the path's drive root, or,
// for a UNC path naming an existing folder, kSizeNotAvailable for both. When the system's
// resources are exhausted the user is told so. {0, 0} when nothing can be found.
FreeSpace DiskFreeSpace(const std::string& path);

// The system calls DiskFreeSpace makes, so that its rules are tested without them.
class IFreeSpaceCalls {
public:
    struct Clusters {
        uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    };
    enum class ClusterStatus { Done, Failed, NoResources };

    virtual ~IFreeSpaceCalls() = default;
    // Whether the system offers the extended call now.
    virtual bool HasExtendedCall() = 0;
    // The extended call: total free bytes and total bytes; nothing when it fails.
    virtual std::optional<FreeSpace> Extended(const std::string& path) = 0;
    // The path's short form (the path itself when it has none).
    virtual std::string ShortForm(const std::string& path) = 0;
    // The cluster-based call on a root "C:".
    virtual ClusterStatus ClusterCounts(const std::string& root, Clusters& clusters) = 0;
    virtual bool IsExistingFolder(const std::string& path) = 0;
    // Tells the user that the system's resources are exhausted.
    virtual void ReportNoResources() = 0;
};

// DiskFreeSpace's rules over `calls`.
FreeSpace DiskFreeSpaceWith(IFreeSpaceCalls& calls, const std::string& path);

// The cluster-based call's figures as bytes (64-bit, no overflow for 32-bit counts).
FreeSpace SpaceFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters,
                            uint32_t totalClusters);

// Two leading backslashes.
bool IsUncPath(const std::string& path);
// The drive letter of "c:..." in upper case, or 0.
char PathDriveLetter(const std::string& path);
