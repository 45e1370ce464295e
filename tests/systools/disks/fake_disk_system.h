#pragma once
// A disk system in memory: drives with their volumes, files of their roots, and switches that
// make a write or a replace fail, recording every label set and broadcast.
#include <map>
#include <string>
#include <vector>

#include "systools/disks/disk_system.h"

struct FakeDrive {
    unsigned type = 3;
    std::optional<VolumeInformation> volume;
    FreeSpace space;
    std::string iconLocation;
    bool canMakeCurrent = true;
};

class FakeDiskSystem : public IDiskSystem {
public:
    std::map<std::string, FakeDrive> drives; // by root, "C:\"
    std::map<std::string, std::string> files; // by full path
    std::vector<std::string> probedRoots;
    std::vector<std::pair<std::string, std::string>> labelsSet;
    int broadcasts = 0;
    bool failWrite = false, failReplace = false, failRead = false;

    unsigned DriveType(const std::string& root) override
    {
        probedRoots.push_back(root);
        auto found = drives.find(root);
        return found == drives.end() ? 1 : found->second.type;
    }
    std::optional<VolumeInformation> Volume(const std::string& root) override { return drives.at(root).volume; }
    FreeSpace Space(const std::string& root) override { return drives.at(root).space; }
    std::string ShellIconLocation(const std::string& root) override { return drives.at(root).iconLocation; }
    bool CanMakeCurrent(const std::string& root) override { return drives.at(root).canMakeCurrent; }
    std::string SystemFolder() override { return "C:\\WINDOWS\\system32"; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::optional<std::string> ReadFile(const std::string& path, size_t limit) override
    {
        auto found = files.find(path);
        if (failRead || found == files.end())
            return std::nullopt;
        return found->second.substr(0, limit + 1);
    }
    bool WriteNewFile(const std::string& path, const std::string& bytes) override
    {
        if (failWrite || files.count(path))
            return false;
        files[path] = bytes;
        return true;
    }
    bool PutFileInPlace(const std::string& from, const std::string& to) override
    {
        if (failReplace || !files.count(from))
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }
    bool WriteVolumeLabel(const std::string& root, const std::string& label) override
    {
        labelsSet.emplace_back(root, label);
        return true;
    }
    void BroadcastDisplayChange() override { ++broadcasts; }
};
