#include "systools/disks/disk_free_space.h"

FreeSpace SpaceFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters,
                            uint32_t totalClusters)
{
    // sectors x bytes fits 64 bits; times a 32-bit count may not, so saturate rather than wrap.
    const uint64_t cluster = uint64_t{sectorsPerCluster} * bytesPerSector;
    auto bytesOf = [cluster](uint32_t clusters) {
        if (clusters != 0 && cluster > kSizeNotAvailable / clusters)
            return kSizeNotAvailable;
        return cluster * clusters;
    };
    return {bytesOf(freeClusters), bytesOf(totalClusters)};
}

bool IsUncPath(const std::string& path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

char PathDriveLetter(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char c = path[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

FreeSpace DiskFreeSpaceWith(IFreeSpaceCalls& calls, const std::string& path)
{
    if (calls.HasExtendedCall())
        return calls.Extended(calls.ShortForm(path)).value_or(FreeSpace{});
    if (const char letter = PathDriveLetter(path)) {
        IFreeSpaceCalls::Clusters clusters;
        switch (calls.ClusterCounts(std::string(1, letter) + ":\\", clusters)) {
        case IFreeSpaceCalls::ClusterStatus::Done:
            return SpaceFromClusters(clusters.sectorsPerCluster, clusters.bytesPerSector, clusters.freeClusters,
                                     clusters.totalClusters);
        case IFreeSpaceCalls::ClusterStatus::NoResources: calls.ReportNoResources(); return {};
        case IFreeSpaceCalls::ClusterStatus::Failed: return {};
        }
    }
    if (IsUncPath(path) && calls.IsExistingFolder(path))
        return {kSizeNotAvailable, kSizeNotAvailable};
    return {};
}
