#pragma once
// What the disks module asks of the system, behind one small interface so that enumeration
// and writing are tested without drives: the Win32 implementation is disk_system_win.cpp, the
// tests bring their own.
#include <cstdint>
#include <optional>
#include <string>

struct VolumeInformation {
    std::string label;
    std::string fileSystem;
    uint32_t serial = 0;
    uint32_t maxComponentLength = 0;
};

struct FreeSpace {
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
};

class IDiskSystem {
public:
    virtual ~IDiskSystem() = default;

    // The system's drive type code of a root ("C:\"): 0 unknown, 1 no root, 2 to 6 as DiskType.
    virtual unsigned DriveType(const std::string& root) = 0;
    // Nothing when the volume cannot be read (no medium, refused).
    virtual std::optional<VolumeInformation> Volume(const std::string& root) = 0;
    virtual FreeSpace Space(const std::string& root) = 0;
    // The shell's icon location "%s,%d" of a root; empty when it gives none.
    virtual std::string ShellIconLocation(const std::string& root) = 0;
    // Whether the drive can be made the current drive (the current one is left as it was).
    virtual bool CanMakeCurrent(const std::string& root) = 0;
    // The system folder ("C:\windows\system32").
    virtual std::string SystemFolder() = 0;

    // Files of a drive's root, for "autorun.inf": the whole file up to `limit` + 1 bytes
    // (nothing when it does not exist or cannot be read; whether it exists at all).
    virtual bool FileExists(const std::string& path) = 0;
    virtual std::optional<std::string> ReadFile(const std::string& path, size_t limit) = 0;
    // Creates `path` (failing when it exists) with exactly `bytes`; false, leaving no file,
    // when it cannot be written completely.
    virtual bool WriteNewFile(const std::string& path, const std::string& bytes) = 0;
    // Puts `from` in the place of `to` (which may exist) in one step.
    virtual bool PutFileInPlace(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;

    virtual bool WriteVolumeLabel(const std::string& root, const std::string& label) = 0;
    // Tells every top-level window that the display changed, so that the shell redraws icons.
    virtual void BroadcastDisplayChange() = 0;
};
