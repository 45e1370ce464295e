// The metafile header checks that stand between a file and the platform's metafile player.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/codecs/metafile_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Copies keep each check within exactly the bytes it was given.
    std::vector<uint8_t> bytes(data, data + size);
    metafile::EmfHeader emf;
    metafile::ParseEmfHeader(bytes.data(), bytes.size(), int64_t(size), emf);
    metafile::PlaceableHeader placeable;
    if (metafile::ParsePlaceableHeader(bytes.data(), bytes.size(), placeable)) {
        std::vector<uint8_t> rest(bytes.begin() + metafile::kPlaceableSize, bytes.end());
        metafile::PlausibleWindowsHeader(rest.data(), rest.size());
    }
    metafile::CheckWindowsHeader(bytes.data(), bytes.size(), int64_t(size));
    return 0;
}
