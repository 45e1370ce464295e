#pragma once
// Byte source and entropy-coded bit reader of the JPEG decoder.
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// The per-symbol helpers of the decoder work on a JpegBits held in registers; a call that is
// not inlined would force it into memory for every symbol.
#if defined(__GNUC__)
#define JPEG_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define JPEG_ALWAYS_INLINE inline
#endif

// Bits of scan data, most significant first, left-aligned in a 64-bit word. Hot loops hold
// one in local variables (registers) and hand it back to the reader when done.
struct JpegBits {
    uint64_t word = 0;
    int count = 0; // valid bits; those below them are zero

    // Next `n` (1..32) bits without using them.
    uint32_t Peek(int n) const { return static_cast<uint32_t>(word >> (64 - n)); }
    void Skip(int n)
    {
        word <<= n;
        count -= n;
    }
    // `n` (0..16) bits as an unsigned value.
    int Take(int n)
    {
        if (n == 0)
            return 0;
        int value = static_cast<int>(Peek(n));
        Skip(n);
        return value;
    }
};

// Reads scan data into a JpegBits buffer. Stuffed 0xFF 0x00 pairs give 0xFF. At a marker or
// at the end of the data the reader stops in front of it and feeds zero bits, counting them,
// so that decoding may look ahead freely; CheckOverrun() fails only when bits that are not in
// the file have really been used.
class JpegBitReader {
public:
    explicit JpegBitReader(JpegSource& source) : m_source(source) {}

    // Drops buffered bits (scan start, restart); reading resumes at the source position.
    void Reset()
    {
        m_buffer = JpegBits{};
        m_padBits = 0;
        m_stopped = false;
    }

    // The buffer, for a hot loop to work on a copy of it; Store() takes the copy back.
    JpegBits Load() const { return m_buffer; }
    void Store(const JpegBits& bits) { m_buffer = bits; }

    // Returns `bits` topped up to 57..64 bits. Most of the time the next 8 bytes hold no 0xFF,
    // and the whole bytes that fit are taken in one step; otherwise byte by byte.
    JpegBits Fill(JpegBits bits)
    {
        if (!m_stopped && m_source.Remaining() >= 8) {
            const uint64_t next = LoadBigEndian64(m_source.data + m_source.pos);
            if (!HasByteFF(next)) {
                const int bytes = (64 - bits.count) >> 3;
                bits.word |= (next & (~uint64_t{0} << (64 - 8 * bytes))) >> bits.count;
                bits.count += 8 * bytes;
                m_source.pos += static_cast<size_t>(bytes);
                return bits;
            }
        }
        return FillSlowly(bits);
    }

    // Makes at least `n` (<= 57) bits available in the reader's own buffer.
    void Ensure(int n)
    {
        if (m_buffer.count < n)
            m_buffer = Fill(m_buffer);
    }
    // On the reader's own buffer: see JpegBits; Ensure(n) first.
    uint32_t Peek(int n) const { return m_buffer.Peek(n); }
    void Skip(int n) { m_buffer.Skip(n); }
    int TakeBits(int n) { return m_buffer.Take(n); }
    int GetBits(int n)
    {
        Ensure(n);
        return TakeBits(n);
    }
    int GetBit() { return GetBits(1); }

    // Throws when the decoder has used bits beyond the end of the scan's data.
    void CheckOverrun() const
    {
        if (m_buffer.count < m_padBits)
            ThrowOverrun();
    }

    // Restart point: drops the rest of the current byte, skips 0xFF fill bytes and requires RSTn
    // with n == expected.
    void ReadRestartMarker(int expected);

    static uint64_t LoadBigEndian64(const uint8_t* p)
    {
        uint64_t word;
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        std::memcpy(&word, p, sizeof word);
        return __builtin_bswap64(word);
#else
        word = 0;
        for (int i = 0; i < 8; ++i)
            word = (word << 8) | p[i];
        return word;
#endif
    }
    // True when any of the word's 8 bytes is 0xFF (a stuffed byte or a marker).
    static bool HasByteFF(uint64_t word)
    {
        const uint64_t inverted = ~word; // 0xFF bytes become zero bytes
        return ((inverted - 0x0101010101010101u) & ~inverted & 0x8080808080808080u) != 0;
    }

private:
    JpegBits FillSlowly(JpegBits bits);
    [[noreturn]] void ThrowOverrun() const;

    JpegSource& m_source;
    JpegBits m_buffer;
    int m_padBits = 0;   // zero bits fed after the data stopped
    bool m_stopped = false;
    int m_stopMarker = -1; // marker code the data stopped at, -1 for the end of the file
};

// Extends a `size`-bit magnitude category value to its signed value (T.81 F.2.2.1).
inline int JpegExtend(int value, int size)
{
    return value < (1 << (size - 1)) ? value - (1 << size) + 1 : value;
}
