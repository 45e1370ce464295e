// ZIP archives as the archive reader opens them (files given by the user, and the program's own
// resources): the end record, the central directory, and every entry's data, with and without
// a password.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "setup/resource_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceArchive archive;
    if (archive.OpenMemory(std::vector<uint8_t>(data, data + size), true) != kArchiveOk)
        return 0;
    const int count = static_cast<int>(archive.Entries().size());
    for (int i = 0; i < count && i < 64; ++i)
        archive.ReadEntry(i);
    archive.SetPassword("s3cret");
    for (int i = 0; i < count && i < 64; ++i) {
        archive.ReadEntry(i);
        archive.Find(archive.Entries()[i].path, true);
    }
    return 0;
}
