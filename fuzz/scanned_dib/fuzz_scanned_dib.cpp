// Reads arbitrary bytes as the packed bitmap a scanner hands over by native transfer (its
// memory block, of the size the block says), as the acquisition does, then scales the picture
// to a tab thumbnail.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/picture.h"
#include "picturetools/core/scaling.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> block(data, data + size); // exactly as long as the source says
    CPicture picture;
    if (!picture.FromDib(block.data(), block.size()))
        return 0;
    if (uint64_t(picture.Width()) * picture.Height() <= (uint64_t(1) << 22))
        ScaleNearest(picture, 16, 16, nullptr);
    return 0;
}
