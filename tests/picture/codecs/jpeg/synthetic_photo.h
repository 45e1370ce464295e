#pragma once
// A synthetic photo-like RGB picture for the JPEG tests and benchmarks.
#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0, height = 0;
    int channels = 3;          // 1 for a grey map read from a PGM
    std::vector<uint8_t> data; // top-down, channel-interleaved
    uint8_t At(int x, int y, int c) const { return data[(size_t(y) * width + x) * channels + (channels == 1 ? 0 : c)]; }
};

// Smooth gradients, soft shapes, fine texture, sharp edges and noise: compresses like a photo.
RgbImage MakePhotoLike(int width, int height, uint32_t seed);
