// Reads arbitrary bytes as a system logo file (a file from the user's disk, as the checks of
// the written logo read it), then lays what was read out again, so that reader and writer both
// see hostile data.
#include <cstddef>
#include <cstdint>

#include "picturetools/syspicture/logo_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto image = DecodeLogoBmp({data, size});
    if (!image)
        return 0;
    // Every index the reader hands out lies inside the picture it describes.
    volatile uint8_t sink = 0;
    for (int y = 0; y < image->height; ++y)
        sink = sink ^ image->At(image->width - 1, y);
    if (image->indices.size() <= 512 * 512)
        EncodeLogoBmp(*image, true, nullptr);
    return 0;
}
