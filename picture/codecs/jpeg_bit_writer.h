#pragma once
// Entropy-coded JPEG output: bits most significant first, each 0xFF byte followed by a
// stuffed 0x00. Bits gather in a 64-bit register and leave 32 at a time; words without an
// 0xFF byte are stored whole.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class JpegBitWriter {
public:
    // The owner hands the bytes on once Size() reaches this; a Put never adds more than 8.
    static constexpr size_t kChunk = 1 << 16;

    JpegBitWriter() : m_bytes(kChunk + 64) {}

    // Appends the low `length` (0..32) bits of `bits`; higher bits of `bits` must be zero.
    void Put(uint32_t bits, int length)
    {
        m_acc = (m_acc << length) | bits;
        m_count += length;
        if (m_count >= 32) {
            m_count -= 32;
            m_size = static_cast<size_t>(StoreWord(m_bytes.data() + m_size, static_cast<uint32_t>(m_acc >> m_count)) -
                                         m_bytes.data());
        }
    }

    // Puts the codes of a run of entries, the register kept in locals through the loop:
    // code(entry, bits, length) gives each entry's code; drain(data, size) takes the bytes
    // whenever kChunk of them are ready.
    template <typename Entry, typename Code, typename Drain>
    void PutAll(const Entry* begin, const Entry* end, Code code, Drain drain)
    {
        uint64_t acc = m_acc;
        int count = m_count;
        uint8_t* const base = m_bytes.data();
        uint8_t* const limit = base + kChunk;
        uint8_t* out = base + m_size;
        for (const Entry* p = begin; p != end; ++p) {
            uint32_t bits;
            int length;
            code(*p, bits, length);
            acc = (acc << length) | bits;
            count += length;
            if (count >= 32) {
                count -= 32;
                out = StoreWord(out, static_cast<uint32_t>(acc >> count));
                if (out >= limit) {
                    drain(static_cast<const uint8_t*>(base), static_cast<size_t>(out - base));
                    out = base;
                }
            }
        }
        m_acc = acc;
        m_count = count;
        m_size = static_cast<size_t>(out - base);
    }
    // Pads the last byte with one bits and moves every whole byte out of the register.
    void Flush()
    {
        if (m_count % 8) {
            const int pad = 8 - m_count % 8;
            Put((1u << pad) - 1, pad);
        }
        while (m_count >= 8) {
            m_count -= 8;
            PutByte(static_cast<uint8_t>(m_acc >> m_count));
        }
    }

    const uint8_t* Data() const { return m_bytes.data(); }
    size_t Size() const { return m_size; }
    void Clear() { m_size = 0; }

private:
    // Stores a word most significant byte first, each 0xFF byte followed by 0x00; returns
    // the end.
    static uint8_t* StoreWord(uint8_t* out, uint32_t word)
    {
        // A byte of the word is 0xFF exactly when the complement has a zero byte.
        const uint32_t inverse = ~word;
        if (((inverse - 0x01010101u) & ~inverse & 0x80808080u) == 0) {
            const uint8_t bytes[4] = {uint8_t(word >> 24), uint8_t(word >> 16), uint8_t(word >> 8), uint8_t(word)};
            std::memcpy(out, bytes, 4);
            return out + 4;
        }
        for (int shift = 24; shift >= 0; shift -= 8) {
            const uint8_t b = static_cast<uint8_t>(word >> shift);
            *out++ = b;
            if (b == 0xFF)
                *out++ = 0;
        }
        return out;
    }
    void PutByte(uint8_t b)
    {
        m_bytes[m_size++] = b;
        if (b == 0xFF)
            m_bytes[m_size++] = 0;
    }

    std::vector<uint8_t> m_bytes;
    size_t m_size = 0;
    uint64_t m_acc = 0;
    int m_count = 0;
};
