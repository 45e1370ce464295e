#pragma once
// In-memory sources and sinks for driving the deflate engine in tests.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/codecs/deflater.h"
#include "picture/codecs/inflater.h"

// Hands out a buffer in pieces of `piece` bytes, as the PNG reader hands out IDAT chunks.
class CMemoryInflateSource : public CInflateSource {
public:
    explicit CMemoryInflateSource(const std::vector<uint8_t>& data, size_t piece = 1 << 20)
        : m_data(data), m_piece(piece) {}
    size_t NextInput(const uint8_t*& data) override
    {
        const size_t n = std::min(m_piece, m_data.size() - m_pos);
        data = m_data.data() + m_pos;
        m_pos += n;
        return n;
    }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_piece;
    size_t m_pos = 0;
};

class CMemoryDeflateSource : public CDeflateSource {
public:
    explicit CMemoryDeflateSource(const std::vector<uint8_t>& data, size_t piece = 4096)
        : m_data(data), m_piece(piece) {}
    void Restart() override { m_pos = 0; }
    size_t Read(uint8_t* dst, size_t max) override
    {
        const size_t n = std::min({max, m_piece, m_data.size() - m_pos});
        std::copy_n(m_data.begin() + m_pos, n, dst);
        m_pos += n;
        return n;
    }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_piece;
    size_t m_pos = 0;
};

class CVectorSink : public CDeflateSink {
public:
    void Write(const uint8_t* data, size_t n) override { bytes.insert(bytes.end(), data, data + n); }
    std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> DeflateBytes(const std::vector<uint8_t>& input, int level, uint32_t* adler = nullptr)
{
    CDeflater deflater;
    deflater.SetLevel(level);
    CMemoryDeflateSource source(input);
    CVectorSink sink;
    deflater.Deflate(source, sink);
    if (adler)
        *adler = deflater.Adler32();
    return sink.bytes;
}

// Inflates a raw deflate stream completely (until the final block ends).
inline std::vector<uint8_t> InflateBytes(const std::vector<uint8_t>& stream, size_t piece = 1 << 20)
{
    CMemoryInflateSource source(stream, piece);
    CInflater inflater(source);
    std::vector<uint8_t> out;
    uint8_t buffer[4096];
    for (;;) {
        const size_t n = inflater.ReadSome(buffer, sizeof buffer);
        out.insert(out.end(), buffer, buffer + n);
        if (n < sizeof buffer)
            break;
    }
    return out;
}

// Short description of the first difference, for readable failures on large buffers.
inline std::string FirstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want)
{
    if (got == want)
        return "equal";
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i])
        ++i;
    return "sizes " + std::to_string(got.size()) + "/" + std::to_string(want.size()) + ", first difference at " +
           std::to_string(i);
}

// Test inputs: the edge cases and something resembling picture rows.
inline std::vector<uint8_t> PseudoRandomBytes(size_t n, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return v;
}

inline std::vector<uint8_t> PhotoLikeBytes(size_t width, size_t height, uint32_t seed)
{
    std::vector<uint8_t> v;
    v.reserve(width * height * 3);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const unsigned noise = (seed >> 16) & 7;
            v.push_back(uint8_t((x * 255 / width + noise) & 0xFF));
            v.push_back(uint8_t((y * 255 / height + noise) & 0xFF));
            v.push_back(uint8_t(((x + y) * 2 + noise) & 0xFF));
        }
    return v;
}
