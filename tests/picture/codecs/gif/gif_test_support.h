#pragma once
// Hand-made GIF files for tests: a small LZW encoder and block writers.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

using Bytes = std::vector<uint8_t>;

// LZW codes of `indices`, least significant bit first, with a clear code first and an end
// code last (GIF's variant: widths grow when the next code reaches the current range).
inline Bytes LzwEncode(const Bytes& indices, unsigned minCodeSize)
{
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    Bytes out;
    uint32_t acc = 0;
    unsigned bits = 0, width = minCodeSize + 1, next = clear + 2;
    auto put = [&](unsigned code) {
        acc |= code << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    std::map<std::pair<int, uint8_t>, unsigned> table;
    put(clear);
    int prefix = -1;
    for (uint8_t c : indices) {
        if (prefix < 0) {
            prefix = c;
            continue;
        }
        auto it = table.find({prefix, c});
        if (it != table.end()) {
            prefix = int(it->second);
            continue;
        }
        put(unsigned(prefix));
        if (next < 4096) {
            table[{prefix, c}] = next++;
            if (next > (1u << width) && width < 12)
                ++width;
        } else {
            put(clear);
            table.clear();
            next = clear + 2;
            width = minCodeSize + 1;
        }
        prefix = c;
    }
    if (prefix >= 0)
        put(unsigned(prefix));
    put(end);
    if (bits)
        out.push_back(uint8_t(acc));
    return out;
}

inline void PutU16(Bytes& out, unsigned v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void PutSubBlocks(Bytes& out, const Bytes& data)
{
    for (size_t pos = 0; pos < data.size(); pos += 255) {
        const size_t n = std::min<size_t>(255, data.size() - pos);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + pos, data.begin() + pos + n);
    }
    out.push_back(0);
}

struct GifImage {
    unsigned width = 4, height = 3, left = 0, top = 0;
    Bytes indices;
    Bytes localTable; // R, G, B entries; empty for none
    bool interlaced = false;
    int transparent = -1; // -1: no graphic control extension
    bool transparentFlag = true;
};

// A whole file: header, screen with an optional global table, the images, trailer.
inline Bytes MakeGif(unsigned screenW, unsigned screenH, const Bytes& globalTable, const std::vector<GifImage>& images,
                     const char* version = "89a")
{
    Bytes f = {'G', 'I', 'F', uint8_t(version[0]), uint8_t(version[1]), uint8_t(version[2])};
    PutU16(f, screenW);
    PutU16(f, screenH);
    auto tableBits = [](size_t bytes) {
        unsigned n = 0;
        while ((size_t(3) << (n + 1)) < bytes)
            ++n;
        return n;
    };
    f.push_back(globalTable.empty() ? 0 : uint8_t(0x80 | tableBits(globalTable.size())));
    f.push_back(0);
    f.push_back(0);
    f.insert(f.end(), globalTable.begin(), globalTable.end());
    for (const auto& im : images) {
        if (im.transparent >= 0) {
            const uint8_t control[8] = {0x21, 0xF9, 4, uint8_t(im.transparentFlag ? 1 : 0), 0, 0, uint8_t(im.transparent), 0};
            for (uint8_t b : control)
                f.push_back(b);
        }
        f.push_back(0x2C);
        PutU16(f, im.left);
        PutU16(f, im.top);
        PutU16(f, im.width);
        PutU16(f, im.height);
        uint8_t flags = im.interlaced ? 0x40 : 0;
        if (!im.localTable.empty())
            flags |= uint8_t(0x80 | tableBits(im.localTable.size()));
        f.push_back(flags);
        f.insert(f.end(), im.localTable.begin(), im.localTable.end());
        unsigned minCodeSize = 2;
        for (uint8_t i : im.indices)
            while (i >= (1u << minCodeSize))
                ++minCodeSize;
        f.push_back(uint8_t(minCodeSize));
        PutSubBlocks(f, LzwEncode(im.indices, minCodeSize));
    }
    f.push_back(0x3B);
    return f;
}

inline bool ReadGif(const Bytes& file, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    return GifCodec().ReadStream(stream, &picture, nullptr) == 1;
}
