#pragma once
// The drives, files and windows of the running Windows system, for the disks module.
#include "systools/disks/disk_system.h"

class CWin32DiskSystem : public IDiskSystem {
public:
    unsigned DriveType(const std::string& root) override;
    std::optional<VolumeInformation> Volume(const std::string& root) override;
    FreeSpace Space(const std::string& root) override;
    std::string ShellIconLocation(const std::string& root) override;
    bool CanMakeCurrent(const std::string& root) override;
    std::string SystemFolder() override;
    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path, size_t limit) override;
    bool WriteNewFile(const std::string& path, const std::string& bytes) override;
    bool PutFileInPlace(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    bool WriteVolumeLabel(const std::string& root, const std::string& label) override;
    void BroadcastDisplayChange() override;
};
