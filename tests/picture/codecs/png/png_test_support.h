#pragma once
// Helpers for PNG tests: hand-made files chunk by chunk, reading and writing through the
// codec in memory, and the PngSuite folder.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "picture/codecs/checksums.h"
#include "picture/codecs/codecs.h"
#include "picture/codecs/png_codec.h"
#include "picture/codecs/png_reader.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

inline const std::string kPngSuiteDir = QUENTA_SOURCE_DIR "/tests/data/pngsuite/";

using Bytes = std::vector<uint8_t>;

inline void PutBE32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

inline uint32_t GetBE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

inline void AddChunk(Bytes& file, const char* type, const Bytes& data)
{
    PutBE32(file, uint32_t(data.size()));
    const size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBE32(file, UpdateCrc32(0, file.data() + start, file.size() - start));
}

inline Bytes Signature() { return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}; }

inline Bytes Ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t colourType, uint8_t interlace = 0)
{
    Bytes d;
    PutBE32(d, w);
    PutBE32(d, h);
    d.insert(d.end(), {depth, colourType, 0, 0, interlace});
    return d;
}

// A zlib stream of stored blocks holding `raw` (keeps hand-made files independent of the
// deflater under test).
inline Bytes StoredZlib(const Bytes& raw)
{
    Bytes z = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - pos, 65535);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    PutBE32(z, UpdateAdler32(1, raw.data(), raw.size()));
    return z;
}

// A small valid 8-bit grey file of w x h whose rows (filter None) hold x + y.
inline Bytes GreyFile(uint32_t w, uint32_t h, const std::vector<std::pair<std::string, Bytes>>& extraBeforeData = {})
{
    Bytes raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < w; ++x)
            raw.push_back(uint8_t(x + y));
    }
    Bytes file = Signature();
    AddChunk(file, "IHDR", Ihdr(w, h, 8, 0));
    for (const auto& [type, data] : extraBeforeData)
        AddChunk(file, type.c_str(), data);
    AddChunk(file, "IDAT", StoredZlib(raw));
    AddChunk(file, "IEND", {});
    return file;
}

// The reader's message for a file, or "ok".
inline std::string ReadMessage(const Bytes& file)
{
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    CPicture picture;
    try {
        CPngReader reader(stream, &picture, CQnProgress::Silent());
        reader.Read();
    } catch (const EPngError& e) {
        return e.what();
    }
    return "ok";
}

inline bool ReadPng(const Bytes& file, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    return PngCodec().ReadStream(stream, &picture, nullptr) == 1;
}

inline Bytes WritePng(CPicture& picture, int level, int bits = 0)
{
    auto& codec = static_cast<CPngCodec&>(PngCodec());
    codec.SetCompressionLevel(level);
    CGraphicsStream stream;
    stream.CreateMemory(0);
    const int ok = codec.WriteStream(stream, &picture, bits, false, nullptr);
    codec.SetCompressionLevel(2);
    if (!ok)
        return {};
    return Bytes(stream.Data(), stream.Data() + stream.Size());
}

struct ChunkView {
    std::string type;
    Bytes data;
};

inline std::vector<ChunkView> Chunks(const Bytes& file)
{
    std::vector<ChunkView> chunks;
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t n = GetBE32(&file[pos]);
        chunks.push_back({std::string(file.begin() + pos + 4, file.begin() + pos + 8),
                          Bytes(file.begin() + pos + 8, file.begin() + pos + 8 + n)});
        pos += 12 + n;
    }
    return chunks;
}

// Every pixel, and the alpha plane when there is one, as one comparable buffer.
inline Bytes PixelsOf(const CPicture& p)
{
    Bytes out;
    for (int y = 0; y < p.Height(); ++y) {
        out.insert(out.end(), p.Row(y), p.Row(y) + 3 * p.Width());
        if (p.HasAlpha())
            out.insert(out.end(), p.Alpha() + size_t(y) * p.Width(), p.Alpha() + size_t(y + 1) * p.Width());
    }
    return out;
}

// A test picture of w x h with a colour pattern.
inline void FillPattern(CPicture& p, int w, int h)
{
    p.Create(unsigned(w), unsigned(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t bgr[3] = {uint8_t(x * 7 + y), uint8_t(y * 5), uint8_t((x ^ y) * 3)};
            p.SetPixel(x, y, bgr);
        }
}
