#pragma once
// Helpers shared by the bitmap codec tests: little-endian file building and memory round trips.
#include <cstdint>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace bmptest {

inline void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A Windows bitmap file: headers, `table` (4-byte entries) and `pixels`.
inline std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, unsigned bits, uint32_t compression,
                                    const std::vector<uint8_t>& table, const std::vector<uint8_t>& pixels,
                                    uint32_t coloursUsed = 0)
{
    std::vector<uint8_t> f = {'B', 'M'};
    const uint32_t offset = 54 + static_cast<uint32_t>(table.size());
    Put32(f, offset + static_cast<uint32_t>(pixels.size()));
    Put32(f, 0);
    Put32(f, offset);
    Put32(f, 40);
    Put32(f, static_cast<uint32_t>(width));
    Put32(f, static_cast<uint32_t>(height));
    Put16(f, 1);
    Put16(f, bits);
    Put32(f, compression);
    Put32(f, static_cast<uint32_t>(pixels.size()));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, coloursUsed);
    Put32(f, 0);
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

inline bool ReadBytes(CGraphicsCodec& codec, const std::vector<uint8_t>& bytes, CPicture& picture)
{
    CGraphicsStream s;
    s.OpenMemory(bytes.data(), bytes.size());
    return codec.ReadStream(s, &picture, nullptr) == 1;
}

inline std::vector<uint8_t> WriteBytes(CGraphicsCodec& codec, CPicture& picture, int bits)
{
    CGraphicsStream s;
    s.CreateMemory(0);
    if (codec.WriteStream(s, &picture, bits, false, nullptr) != 1)
        return {};
    return std::vector<uint8_t>(s.Data(), s.Data() + s.Size());
}

inline uint32_t Get32(const std::vector<uint8_t>& v, size_t at)
{
    return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8 | uint32_t(v[at + 2]) << 16 | uint32_t(v[at + 3]) << 24;
}

// The picture's pixels, top row first, as R, G, B triples (the order of PPM files).
inline std::vector<uint8_t> Rgb(const CPicture& p)
{
    std::vector<uint8_t> out;
    out.reserve(size_t(p.Width()) * p.Height() * 3);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
            const uint8_t* px = p.Row(y) + x * 3;
            out.insert(out.end(), {px[2], px[1], px[0]});
        }
    return out;
}

// Gradients with noise: many distinct colours.
inline void FillPhotoLike(CPicture& p, int w, int h)
{
    p.Create(w, h);
    uint32_t seed = 99;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245 + 12345;
            const int noise = int(seed >> 29);
            const uint8_t bgr[3] = {uint8_t((x * 255 / w + noise) & 0xFF), uint8_t((y * 255 / h + noise) & 0xFF),
                                    uint8_t(((x ^ y) + noise) & 0xFF)};
            p.SetPixel(x, y, bgr);
        }
}

} // namespace bmptest
