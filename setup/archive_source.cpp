#include "setup/archive_source.h"

#include <cstring>

namespace {
class FileSource final : public ArchiveSource {
public:
    explicit FileSource(std::ifstream file) : m_file(std::move(file))
    {
        m_file.seekg(0, std::ios::end);
        const std::streamoff end = m_file.tellg();
        m_size = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t position, uint8_t* into, size_t count) override
    {
        if (position > m_size || count > m_size - position)
            return false;
        m_file.clear();
        m_file.seekg(static_cast<std::streamoff>(position));
        m_file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
        return m_file.gcount() == static_cast<std::streamsize>(count);
    }

private:
    std::ifstream m_file;
    uint64_t m_size = 0;
};

class MemorySource final : public ArchiveSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(uint64_t position, uint8_t* into, size_t count) override
    {
        if (position > m_bytes.size() || count > m_bytes.size() - position)
            return false;
        if (count)
            std::memcpy(into, m_bytes.data() + position, count);
        return true;
    }

private:
    std::vector<uint8_t> m_bytes;
};
} // namespace

std::unique_ptr<ArchiveSource> ArchiveSource::OpenFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    return std::make_unique<FileSource>(std::move(file));
}

std::unique_ptr<ArchiveSource> ArchiveSource::FromMemory(std::vector<uint8_t> bytes)
{
    return std::make_unique<MemorySource>(std::move(bytes));
}
