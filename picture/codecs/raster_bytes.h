#pragma once
// Byte helpers shared by the TIFF, Targa, PCX and Photoshop codecs: the whole input is taken
// into memory once (its size is the file's own, so the allocation is always justified) and
// read through a cursor that checks every access against the end of the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"

namespace rastercodec {

// The bytes from the stream's current position to its end.
std::vector<uint8_t> ReadRemainingBytes(CGraphicsStream& stream);

[[noreturn]] void FailCorrupt(const char* what);

inline uint16_t LoadU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint16_t LoadU16BE(const uint8_t* p) { return static_cast<uint16_t>(p[1] | p[0] << 8); }
inline uint32_t LoadU32LE(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t LoadU32BE(const uint8_t* p)
{
    return uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24;
}

// Sequential reads over a block; every read past the end throws EGraphicsException.
class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit ByteCursor(const std::vector<uint8_t>& bytes) : ByteCursor(bytes.data(), bytes.size()) {}

    size_t Pos() const { return m_pos; }
    size_t Size() const { return m_size; }
    size_t Remaining() const { return m_size - m_pos; }
    const uint8_t* Data() const { return m_data; }

    void Seek(size_t pos)
    {
        if (pos > m_size)
            FailCorrupt("offset beyond the end of the file");
        m_pos = pos;
    }
    // The next n bytes; the cursor moves past them.
    const uint8_t* Take(size_t n)
    {
        if (n > Remaining())
            FailCorrupt("unexpected end of file");
        const uint8_t* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    void Skip(size_t n) { Take(n); }
    uint8_t U8() { return *Take(1); }
    uint16_t U16LE() { return LoadU16LE(Take(2)); }
    uint16_t U16BE() { return LoadU16BE(Take(2)); }
    uint32_t U32LE() { return LoadU32LE(Take(4)); }
    uint32_t U32BE() { return LoadU32BE(Take(4)); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Appends little- and big-endian values to an output buffer.
class ByteSink {
public:
    std::vector<uint8_t>& Bytes() { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16LE(uint16_t v) { Push(uint8_t(v), uint8_t(v >> 8)); }
    void U16BE(uint16_t v) { Push(uint8_t(v >> 8), uint8_t(v)); }
    void U32LE(uint32_t v) { Push(uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)); }
    void U32BE(uint32_t v) { Push(uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)); }
    void Append(const uint8_t* p, size_t n) { m_bytes.insert(m_bytes.end(), p, p + n); }
    void Zeros(size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }

private:
    template <typename... T>
    void Push(T... bytes)
    {
        (m_bytes.push_back(bytes), ...);
    }

    std::vector<uint8_t> m_bytes;
};

// Writes the whole buffer to the stream; throws EGraphicsException when the stream refuses.
void WriteAll(CGraphicsStream& stream, const std::vector<uint8_t>& bytes);

} // namespace rastercodec
