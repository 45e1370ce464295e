#include "picture/graphics_stream.h"

#include <algorithm>
#include <cstring>

#include "picture/graphics_exceptions.h"

namespace {
constexpr size_t kGrowStep = 0x100000;

int64_t FileTell(FILE* f)
{
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

int FileSeek(FILE* f, int64_t offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(f, offset, origin);
#else
    return fseeko(f, offset, origin);
#endif
}
} // namespace

bool CGraphicsStream::OpenFile(const std::string& path, bool forReading)
{
    Close();
    m_file = std::fopen(path.c_str(), forReading ? "rb" : "wb");
    if (!m_file)
        return false;
    m_reading = forReading;
    m_isMemory = false;
    m_name = path;
    m_bitIndex = forReading ? -1 : 7;
    return true;
}

void CGraphicsStream::OpenMemory(const void* block, size_t size)
{
    Close();
    m_isMemory = true;
    m_reading = true;
    m_ownsMemory = false;
    m_memory = static_cast<uint8_t*>(const_cast<void*>(block));
    m_capacity = m_highWater = size;
    m_name = "Memory";
    m_bitIndex = -1;
}

bool CGraphicsStream::CreateMemory(size_t capacity)
{
    Close();
    m_isMemory = true;
    m_reading = false;
    m_ownsMemory = true;
    try {
        m_owned.assign(capacity, 0);
    } catch (...) {
        return false;
    }
    m_memory = m_owned.data();
    m_capacity = capacity;
    m_name = "Memory";
    m_bitIndex = 7;
    return true;
}

bool CGraphicsStream::Close()
{
    bool ok = true;
    if (m_file)
        ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    m_isMemory = false;
    m_ownsMemory = false;
    m_memory = nullptr;
    std::vector<uint8_t>().swap(m_owned);
    m_capacity = m_pos = m_highWater = m_lastCount = 0;
    m_total = 0;
    m_endOfData = false;
    m_bitByte = 0;
    m_bitIndex = -1;
    return ok;
}

size_t CGraphicsStream::Read(void* buffer, size_t n)
{
    size_t got = 0;
    if (m_file) {
        got = std::fread(buffer, 1, n, m_file);
    } else if (m_isMemory) {
        size_t available = m_pos < m_highWater ? m_highWater - m_pos : 0;
        got = std::min(n, available);
        if (got)
            std::memcpy(buffer, m_memory + m_pos, got);
        m_pos += got;
        if (got < n)
            m_endOfData = true;
    }
    m_lastCount = got;
    m_total += got;
    return got;
}

bool CGraphicsStream::GrowFor(size_t end)
{
    if (end <= m_capacity)
        return true;
    if (!m_ownsMemory)
        return false;
    size_t capacity = m_capacity;
    while (capacity < end)
        capacity += kGrowStep;
    try {
        m_owned.resize(capacity, 0);
    } catch (...) {
        return false;
    }
    m_memory = m_owned.data();
    m_capacity = capacity;
    return true;
}

bool CGraphicsStream::Write(const void* buffer, size_t n)
{
    m_lastCount = 0;
    if (m_file) {
        if (std::fwrite(buffer, 1, n, m_file) != n)
            return false;
    } else if (m_isMemory && !m_reading) {
        if (!GrowFor(m_pos + n))
            return false; // the write is dropped
        if (n)
            std::memcpy(m_memory + m_pos, buffer, n);
        m_pos += n;
        m_highWater = std::max(m_highWater, m_pos);
    } else {
        return false;
    }
    m_lastCount = n;
    m_total += n;
    return true;
}

int64_t CGraphicsStream::Seek(int64_t offset, Origin origin)
{
    if (m_file) {
        if (FileSeek(m_file, offset, origin == kBegin ? SEEK_SET : origin == kCurrent ? SEEK_CUR : SEEK_END) != 0)
            return -1;
        return FileTell(m_file);
    }
    if (!m_isMemory)
        return -1;
    int64_t base = origin == kBegin ? 0 : origin == kCurrent ? int64_t(m_pos) : int64_t(m_highWater);
    int64_t target = std::max<int64_t>(0, base + offset);
    if (m_reading && target >= int64_t(m_highWater)) {
        target = m_highWater ? int64_t(m_highWater) - 1 : 0;
        m_endOfData = true;
    }
    m_pos = static_cast<size_t>(target);
    return target;
}

int64_t CGraphicsStream::Tell() const
{
    if (m_file)
        return FileTell(m_file);
    return m_isMemory ? int64_t(m_pos) : 0;
}

void CGraphicsStream::Rewind()
{
    if (m_file) {
        std::rewind(m_file);
    } else {
        m_pos = 0;
        m_endOfData = false;
    }
    m_bitIndex = m_reading ? -1 : 7;
    m_bitByte = 0;
}

bool CGraphicsStream::AtEnd() const
{
    if (m_file)
        return std::feof(m_file) != 0;
    return m_endOfData || m_pos >= m_highWater;
}

int64_t CGraphicsStream::Length() const
{
    if (m_file) {
        int64_t here = FileTell(m_file);
        FileSeek(m_file, 0, SEEK_END);
        int64_t end = FileTell(m_file);
        FileSeek(m_file, here, SEEK_SET);
        return end;
    }
    return m_isMemory ? int64_t(m_highWater) : 0;
}

void CGraphicsStream::WriteBit(int bit)
{
    if (m_bitIndex < 0)
        m_bitIndex = 7;
    if (bit)
        m_bitByte |= static_cast<uint8_t>(1u << m_bitIndex);
    if (--m_bitIndex < 0) {
        Write(&m_bitByte, 1);
        m_bitByte = 0;
        m_bitIndex = 7;
    }
}

void CGraphicsStream::FlushBits()
{
    if (m_bitIndex >= 0 && m_bitIndex < 7) {
        Write(&m_bitByte, 1);
        m_bitByte = 0;
        m_bitIndex = 7;
    }
}

void CGraphicsStream::ReadExact(void* buffer, size_t n)
{
    if (Read(buffer, n) != n)
        throw EGraphicsException("Unexpected end of file");
}

uint8_t CGraphicsStream::ReadU8()
{
    uint8_t b;
    ReadExact(&b, 1);
    return b;
}

uint16_t CGraphicsStream::ReadU16LE()
{
    uint8_t b[2];
    ReadExact(b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint16_t CGraphicsStream::ReadU16BE()
{
    uint8_t b[2];
    ReadExact(b, 2);
    return static_cast<uint16_t>(b[1] | b[0] << 8);
}

uint32_t CGraphicsStream::ReadU32LE()
{
    uint8_t b[4];
    ReadExact(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint32_t CGraphicsStream::ReadU32BE()
{
    uint8_t b[4];
    ReadExact(b, 4);
    return uint32_t(b[3]) | uint32_t(b[2]) << 8 | uint32_t(b[1]) << 16 | uint32_t(b[0]) << 24;
}

bool CGraphicsStream::WriteU16LE(uint16_t v)
{
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    return Write(b, 2);
}

bool CGraphicsStream::WriteU16BE(uint16_t v)
{
    uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
    return Write(b, 2);
}

bool CGraphicsStream::WriteU32LE(uint32_t v)
{
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return Write(b, 4);
}

bool CGraphicsStream::WriteU32BE(uint32_t v)
{
    uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    return Write(b, 4);
}
