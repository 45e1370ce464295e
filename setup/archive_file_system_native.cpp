// The archive reader's file system on Linux (tests, qnpic-style tools): "\" becomes "/".
#include <sys/stat.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "setup/archive_file_system.h"

namespace fs = std::filesystem;

namespace {
fs::path NativePath(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return fs::path(path);
}

class NativeArchiveFileSystem final : public ArchiveFileSystem {
public:
    bool CreateFolders(const std::string& folder) override
    {
        std::error_code error;
        const fs::path path = NativePath(folder);
        fs::create_directories(path, error);
        return fs::is_directory(path, error);
    }
    std::optional<uint64_t> FreeSpace(const std::string& folder) override
    {
        std::error_code error;
        const fs::space_info space = fs::space(NativePath(folder), error);
        if (error)
            return std::nullopt;
        return space.available;
    }
    std::optional<uint64_t> FileSize(const std::string& path) override
    {
        std::error_code error;
        const auto size = fs::file_size(NativePath(path), error);
        if (error)
            return std::nullopt;
        return size;
    }
    bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) override
    {
        const fs::path target = NativePath(path);
        std::error_code absent;
        // A new file is written in place (and removed if the write fails); an existing one is
        // replaced only by a complete copy.
        const bool replacing = fs::exists(target, absent);
        fs::path temporary = target;
        if (replacing)
            temporary += ".qn-part";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::error_code ignored;
                fs::remove(temporary, ignored);
                return false;
            }
        }
        std::error_code error;
        if (!replacing)
            return true;
        fs::rename(temporary, target, error);
        if (error) {
            fs::remove(temporary, error);
            return false;
        }
        return true;
    }
    void SetFileStamp(const std::string& path, uint16_t dosDate, uint16_t dosTime, uint32_t attributes) override
    {
        std::tm local{};
        local.tm_year = 80 + (dosDate >> 9);
        local.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
        local.tm_mday = dosDate & 0x1F;
        local.tm_hour = dosTime >> 11;
        local.tm_min = (dosTime >> 5) & 0x3F;
        local.tm_sec = (dosTime & 0x1F) * 2;
        local.tm_isdst = -1;
        const std::time_t stamp = std::mktime(&local);
        const std::string native = NativePath(path).string();
        if (stamp != -1) {
            const utimbuf times{stamp, stamp};
            utime(native.c_str(), &times);
        }
        if (attributes & 0x01)
            chmod(native.c_str(), 0444);
    }
    bool DeleteFileAt(const std::string& path) override
    {
        const std::string native = NativePath(path).string();
        chmod(native.c_str(), 0644);
        return std::remove(native.c_str()) == 0;
    }
    void RemoveFolderIfEmpty(const std::string& folder) override
    {
        std::error_code error;
        const fs::path path = NativePath(folder);
        if (fs::is_directory(path, error) && fs::is_empty(path, error))
            fs::remove(path, error);
    }
    bool IsOnRemovableDrive(const std::string&) override { return false; }
};
} // namespace

ArchiveFileSystem& ArchiveFileSystem::Platform()
{
    static NativeArchiveFileSystem files;
    return files;
}
