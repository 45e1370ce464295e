#pragma once
// Byte source and entropy-coded bit reader of the JPEG decoder.
#include <cstddef>
#include <cstdint>

#include "picture/graphics_exceptions.h"

// The whole JPEG stream in memory and the parser's position in it.
struct JpegSource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;

    bool AtEnd() const { return pos >= size; }
    size_t Remaining() const { return pos < size ? size - pos : 0; }
    uint8_t ReadByte()
    {
        if (pos >= size)
            throw EJpegBadData("Premature end of file");
        return data[pos++];
    }
    unsigned ReadU16()
    {
        unsigned high = ReadByte();
        return (high << 8) | ReadByte();
    }
};

// Reads scan data most significant bit first from a 64-bit buffer. Stuffed 0xFF 0x00 pairs give
// 0xFF. At a marker or at the end of the data the reader stops in front of it and feeds zero
// bits, counting them, so that decoding may look ahead freely; CheckOverrun() fails only when
// bits that are not in the file have really been used.
class JpegBitReader {
public:
    explicit JpegBitReader(JpegSource& source) : m_source(source) {}

    // Drops buffered bits (scan start, restart); reading resumes at the source position.
    void Reset()
    {
        m_bits = 0;
        m_count = 0;
        m_padBits = 0;
        m_stopped = false;
    }

    // Makes at least `n` (<= 57) bits available.
    void Ensure(int n)
    {
        if (m_count < n)
            Fill();
    }
    // Next `n` (1..32) bits without using them; Ensure(n) first.
    uint32_t Peek(int n) const { return static_cast<uint32_t>(m_bits >> (64 - n)); }
    void Skip(int n)
    {
        m_bits <<= n;
        m_count -= n;
    }
    // `n` (0..16) bits as an unsigned value; Ensure(n) first.
    int TakeBits(int n)
    {
        if (n == 0)
            return 0;
        int value = static_cast<int>(Peek(n));
        Skip(n);
        return value;
    }
    int GetBits(int n)
    {
        Ensure(n);
        return TakeBits(n);
    }
    int GetBit() { return GetBits(1); }

    // Throws when the decoder has used bits beyond the end of the scan's data.
    void CheckOverrun() const
    {
        if (m_count < m_padBits)
            ThrowOverrun();
    }

    // Restart point: drops the rest of the current byte, skips 0xFF fill bytes and requires RSTn
    // with n == expected.
    void ReadRestartMarker(int expected);

private:
    void Fill();
    [[noreturn]] void ThrowOverrun() const;

    JpegSource& m_source;
    uint64_t m_bits = 0; // valid bits left-aligned
    int m_count = 0;
    int m_padBits = 0;   // zero bits fed after the data stopped
    bool m_stopped = false;
    int m_stopMarker = -1; // marker code the data stopped at, -1 for the end of the file
};

// Extends a `size`-bit magnitude category value to its signed value (T.81 F.2.2.1).
inline int JpegExtend(int value, int size)
{
    return value < (1 << (size - 1)) ? value - (1 << size) + 1 : value;
}
