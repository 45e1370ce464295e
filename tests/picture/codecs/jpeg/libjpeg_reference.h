#pragma once
// libjpeg-turbo linked as the reference encoder and decoder of the tests and benchmarks
// (never used by the product).
#include <cstdint>
#include <vector>

#include "synthetic_photo.h"

struct LibjpegEncodeOptions {
    int quality = 75;
    int hSampling = 2, vSampling = 2; // of the luma component; chroma is 1 x 1
    bool grey = false;
    bool progressive = false;
    bool optimize = false;
    int restartRows = 0;   // restart every n MCU rows
    int restartBlocks = 0; // or every n MCUs
};

// Encodes an RGB image; empty on failure.
std::vector<uint8_t> LibjpegEncode(const RgbImage& image, const LibjpegEncodeOptions& options);

// Decodes with the accurate integer inverse DCT and without fancy upsampling, as
// `djpeg -dct int -nosmooth` does; a grey file gives a one-channel image.
bool LibjpegDecode(const std::vector<uint8_t>& jpeg, RgbImage& image);
