// The archive reader's file system on Windows.
#include <windows.h>

#include <algorithm>

#include "setup/archive_file_system.h"

namespace {
std::string ParentOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string RootOf(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + "\\";
    return {};
}

class WinArchiveFileSystem final : public ArchiveFileSystem {
public:
    bool CreateFolders(const std::string& folder) override
    {
        std::string path = folder;
        while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
            path.pop_back();
        if (path.empty())
            return false;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::string parent = ParentOf(path);
        if (!parent.empty() && parent.back() != ':' && !CreateFolders(parent))
            return false;
        return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }
    std::optional<uint64_t> FreeSpace(const std::string& folder) override
    {
        ULARGE_INTEGER available{};
        if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr))
            return std::nullopt;
        return available.QuadPart;
    }
    std::optional<uint64_t> FileSize(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) override
    {
        // A new file is written in place (and removed if the write fails); an existing one is
        // replaced only by a complete copy.
        const bool replacing = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        const std::string temporary = replacing ? path + ".qn-part" : path;
        HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        bool written = true;
        size_t done = 0;
        while (written && done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD count = 0;
            written = WriteFile(file, bytes.data() + done, chunk, &count, nullptr) && count == chunk;
            done += count;
        }
        written = CloseHandle(file) && written;
        if (written && replacing) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); // a read-only older copy
            written = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        }
        if (!written)
            DeleteFileA(temporary.c_str());
        return written;
    }
    void SetFileStamp(const std::string& path, uint16_t dosDate, uint16_t dosTime, uint32_t attributes) override
    {
        FILETIME local;
        FILETIME universal;
        if (DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &universal)) {
            HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                SetFileTime(file, &universal, &universal, &universal);
                CloseHandle(file);
            }
        }
        const DWORD kept = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_ARCHIVE);
        SetFileAttributesA(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
    }
    bool DeleteFileAt(const std::string& path) override
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileA(path.c_str()) != 0;
    }
    void RemoveFolderIfEmpty(const std::string& folder) override { RemoveDirectoryA(folder.c_str()); }
    bool IsOnRemovableDrive(const std::string& path) override
    {
        const std::string root = RootOf(path);
        return !root.empty() && GetDriveTypeA(root.c_str()) == DRIVE_REMOVABLE;
    }
};
} // namespace

ArchiveFileSystem& ArchiveFileSystem::Platform()
{
    static WinArchiveFileSystem files;
    return files;
}
