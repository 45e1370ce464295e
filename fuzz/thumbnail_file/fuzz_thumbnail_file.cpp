// The picture browser's thumbnail cache file ("zephra.zeb"), which sits in the user's folders:
// read it, and compose a cell from every thumbnail it yields.
#include <cstddef>
#include <cstdint>

#include "picture/graphics_stream.h"
#include "picturetools/browser/thumbnail_file.h"
#include "picturetools/browser/thumbnail_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGraphicsStream stream;
    stream.OpenMemory(data, size);
    std::vector<ThumbnailEntry> entries;
    if (ReadThumbnailFile(stream, entries, nullptr) != ThumbnailFileStatus::Ok)
        return 0;
    for (const ThumbnailEntry& entry : entries) {
        CPicture cell;
        ComposeCell(*entry.picture, 80, 60, cell);
    }
    return 0;
}
