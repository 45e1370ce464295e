#include "app/registry_file_native.h"

#include <cstdlib>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

std::string RegistryStorePath()
{
    if (const char* explicitPath = std::getenv("QUENTA_REGISTRY"); explicitPath && *explicitPath)
        return explicitPath;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quenta/registry";
}

bool LoadRegistryFile(const std::string& path, CRegistryStore& store)
{
    store.Clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return true;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool readOk = !std::ferror(f);
    std::fclose(f);
    return readOk && store.Parse(bytes.data(), bytes.size());
}

namespace {
bool WriteAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

bool SaveRegistryFile(const std::string& path, const CRegistryStore& store, bool keepDamaged)
{
    std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, store.Serialize()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (keepDamaged)
        std::rename(path.c_str(), (path + ".damaged").c_str());
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}
