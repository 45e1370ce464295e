#pragma once
// The pages the test scanner delivers: page n (from 0) is a 24-bit picture whose size and
// pixels follow from n alone, so that a test can tell each page and check every pixel.
#include <cstdint>
#include <cstring>
#include <vector>

namespace test_scanner {
inline int PageWidth(int page) { return 240 + 40 * page; }
inline int PageHeight(int page) { return 180 + 20 * page; }

// Blue, green, red of pixel (x, y), row 0 at the top.
inline void PagePixel(int page, int x, int y, uint8_t bgr[3])
{
    bgr[0] = static_cast<uint8_t>(x + page * 70);
    bgr[1] = static_cast<uint8_t>(y + page * 20);
    bgr[2] = static_cast<uint8_t>(((x / 20 + y / 20) % 2) * 128 + page * 60);
}

// The page as a packed device-independent bitmap: header, then the rows bottom-up.
inline std::vector<uint8_t> PageDib(int page)
{
    const int width = PageWidth(page), height = PageHeight(page);
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t header[10] = {40, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                 1u | (24u << 16), 0, static_cast<uint32_t>(stride * height), 3780, 3780, 0, 0};
    std::vector<uint8_t> dib(40 + static_cast<size_t>(stride) * height);
    std::memcpy(dib.data(), header, 40);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PagePixel(page, x, y, &dib[40 + static_cast<size_t>(height - 1 - y) * stride + x * 3]);
    return dib;
}
} // namespace test_scanner
