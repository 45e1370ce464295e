#pragma once
// The byte stream codecs read and write through: a file ("rb"/"wb") or a memory block.
// Reads past the end return short counts (and set the end-of-data flag for memory);
// the typed readers below throw EGraphicsException on a short read so that no codec can
// act on bytes that are not there.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CGraphicsStream {
public:
    enum Origin { kBegin = 0, kCurrent = 1, kEnd = 2 };

    CGraphicsStream() = default;
    ~CGraphicsStream() { Close(); }
    CGraphicsStream(const CGraphicsStream&) = delete;
    CGraphicsStream& operator=(const CGraphicsStream&) = delete;

    bool OpenFile(const std::string& path, bool forReading);
    // Reads from a caller's block, never freed by the stream.
    void OpenMemory(const void* block, size_t size);
    // Writes into an owned block that grows by 1 MiB steps.
    bool CreateMemory(size_t capacity);
    // False when a file's buffered data could not be written out.
    bool Close();

    size_t Read(void* buffer, size_t n);
    bool Write(const void* buffer, size_t n);
    int64_t Seek(int64_t offset, Origin origin);
    int64_t Tell() const;
    void Rewind();
    bool AtEnd() const;
    // Total bytes readable (file size, or the memory block's size); for size sanity checks.
    int64_t Length() const;
    int64_t Remaining() const { int64_t r = Length() - Tell(); return r > 0 ? r : 0; }

    void WriteBit(int bit);
    void FlushBits();

    const std::string& Name() const { return m_name; }
    bool IsOpen() const { return m_file != nullptr || m_isMemory; }
    bool IsReading() const { return m_reading; }
    bool IsMemory() const { return m_isMemory; }
    size_t LastCount() const { return m_lastCount; }
    uint64_t TotalMoved() const { return m_total; }

    // Memory streams: the data and its high-water mark.
    const uint8_t* Data() const { return m_memory; }
    size_t Size() const { return m_highWater; }

    // Typed reads; throw EGraphicsException when the data ends early.
    void ReadExact(void* buffer, size_t n);
    uint8_t ReadU8();
    uint16_t ReadU16LE();
    uint16_t ReadU16BE();
    uint32_t ReadU32LE();
    uint32_t ReadU32BE();
    // Typed writes; return false when the write failed.
    bool WriteU8(uint8_t v) { return Write(&v, 1); }
    bool WriteU16LE(uint16_t v);
    bool WriteU16BE(uint16_t v);
    bool WriteU32LE(uint32_t v);
    bool WriteU32BE(uint32_t v);

private:
    bool GrowFor(size_t end);

    FILE* m_file = nullptr;
    bool m_reading = true;
    bool m_isMemory = false;
    bool m_ownsMemory = false;
    uint8_t* m_memory = nullptr;
    std::vector<uint8_t> m_owned;
    size_t m_capacity = 0;
    size_t m_pos = 0;
    size_t m_highWater = 0;
    size_t m_lastCount = 0;
    uint64_t m_total = 0;
    bool m_endOfData = false;
    uint8_t m_bitByte = 0;
    int m_bitIndex = -1;
    std::string m_name;
};
