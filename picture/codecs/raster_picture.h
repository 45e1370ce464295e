#pragma once
// Preparing the target picture of a reader: the file's size and logical depth, a zeroed
// palette of 2^bits entries for colour-mapped depths, and an alpha plane only for depth 32.
// Whatever the picture held before (a picture of the same size keeps its block) is reset.
class CPicture;

namespace rastercodec {

// Throws EGraphicsException for sizes the picture model cannot hold or when memory runs out.
void PreparePicture(CPicture& picture, unsigned width, unsigned height, int bits);

} // namespace rastercodec
