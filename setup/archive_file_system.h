#pragma once
// The file system as the archive reader writes to it. Paths are "\" separated (the native
// build turns them into its own). The platform's implementation serves the program; tests may
// give their own.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class ArchiveFileSystem {
public:
    virtual ~ArchiveFileSystem() = default;
    // Creates the folder and every missing parent, level by level.
    virtual bool CreateFolders(const std::string& folder) = 0;
    // Free bytes on the drive of the folder; none when unknown.
    virtual std::optional<uint64_t> FreeSpace(const std::string& folder) = 0;
    // Size of an existing file; none when there is none.
    virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
    // Writes the file whole: the bytes go to a new file beside it that then replaces it, so a
    // failed write leaves any earlier file as it was and no partial file behind.
    virtual bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) = 0;
    // MS-DOS date and time (local) and the attribute byte (read-only, hidden, system, archive).
    virtual void SetFileStamp(const std::string& path, uint16_t dosDate, uint16_t dosTime, uint32_t attributes) = 0;
    // Resets the attributes to normal and deletes the file.
    virtual bool DeleteFileAt(const std::string& path) = 0;
    // Removes the folder when it is empty.
    virtual void RemoveFolderIfEmpty(const std::string& folder) = 0;
    // Whether the path lies on a removable drive.
    virtual bool IsOnRemovableDrive(const std::string& path) = 0;

    static ArchiveFileSystem& Platform();
};
