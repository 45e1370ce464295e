// Windows: GetFileVersionInfo reads the whole version block once; VerQueryValue looks inside it.
#include "filetools/properties/version_info.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {
class Win32VersionResource : public VersionResource {
public:
    explicit Win32VersionResource(std::vector<char> block) : block_(std::move(block)) {}

    bool Translation(uint16_t& language, uint16_t& codePage) const override
    {
        void* data = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(Block(), "\\VarFileInfo\\Translation", &data, &length) || !data || length < 4)
            return false;
        WORD pair[2];
        std::memcpy(pair, data, sizeof pair);
        language = pair[0];
        codePage = pair[1];
        return true;
    }

    bool QueryString(const std::string& queryPath, std::string& value) const override
    {
        void* data = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(Block(), queryPath.c_str(), &data, &length) || !data)
            return false;
        // The length counts characters and may or may not include the terminating zero.
        const char* text = static_cast<const char*>(data);
        value.assign(text, strnlen(text, length));
        return true;
    }

private:
    // VerQueryValue takes a non-const block but does not change it.
    void* Block() const { return const_cast<char*>(block_.data()); }
    std::vector<char> block_;
};
} // namespace

std::unique_ptr<VersionResource> ReadVersionResource(const std::string& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return nullptr;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return nullptr;
    return std::make_unique<Win32VersionResource>(std::move(block));
}
