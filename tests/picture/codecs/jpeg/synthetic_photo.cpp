#include "synthetic_photo.h"

#include <algorithm>
#include <cmath>

namespace {
uint32_t NextRandom(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}
} // namespace

RgbImage MakePhotoLike(int width, int height, uint32_t seed)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.data.resize(size_t(width) * height * 3);
    uint32_t state = seed * 2654435761u + 1;
    const double cx = width * 0.6, cy = height * 0.4, radius = 0.3 * std::min(width, height) + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / std::max(1, width - 1), v = double(y) / std::max(1, height - 1);
            double r = 40 + 150 * u + 30 * std::sin(v * 7 + seed);
            double g = 60 + 120 * v + 25 * std::sin(u * 11);
            double b = 90 + 80 * (1 - u) * v + 20 * std::cos((u + v) * 9);
            const double d = std::hypot(x - cx, y - cy);
            if (d < radius) { // a soft-edged disc
                const double w = std::min(1.0, (radius - d) / 3);
                r = r * (1 - w) + 220 * w;
                g = g * (1 - w) + (120 + 60 * std::sin(x * 0.2)) * w;
                b = b * (1 - w) + 40 * w;
            }
            if ((x / 37 + y / 23) % 5 == 0) { // sharp-edged stripes with texture
                r *= 0.5;
                g = 230 - 0.3 * g;
                b += 15 * std::sin(x * 1.3) * std::cos(y * 0.9);
            }
            const double noise = double(NextRandom(state) % 11) - 5; // sensor-like grain
            uint8_t* px = &image.data[(size_t(y) * width + x) * 3];
            px[0] = uint8_t(std::clamp(r + noise, 0.0, 255.0));
            px[1] = uint8_t(std::clamp(g + noise * 0.8, 0.0, 255.0));
            px[2] = uint8_t(std::clamp(b + noise * 1.2, 0.0, 255.0));
        }
    }
    return image;
}
