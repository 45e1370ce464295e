#include "setup/resource_archive_win.h"

#include <cstring>
#include <vector>

int LoadFromResource(ResourceArchive& archive, HMODULE module, unsigned id, const char* type, bool deltaCoded)
{
    std::vector<uint8_t> bytes;
    if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), type)) {
        const DWORD size = SizeofResource(module, resource);
        HGLOBAL loaded = LoadResource(module, resource);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (data && size) {
            bytes.resize(size);
            std::memcpy(bytes.data(), data, size);
        }
    }
    return archive.OpenResourceBytes(std::move(bytes), deltaCoded);
}
