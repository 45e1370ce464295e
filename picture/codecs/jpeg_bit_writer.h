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
    // The owner hands the bytes on once Size() reaches kChunk; up to kSlack more may be put
    // before that check (a Put adds at most 8 bytes, a coded block well under 1 KiB).
    static constexpr size_t kChunk = 1 << 16;
    static constexpr size_t kSlack = 4096;

    // The register and output position as plain values, for a hot loop to keep in locals
    // (stores through the byte pointer could otherwise alias the members): Begin takes a
    // copy, Put works on it, End puts it back.
    struct Register {
        uint64_t acc;
        int count;
        uint8_t* out;
    };

    JpegBitWriter() : m_bytes(kChunk + kSlack) {}

    Register Begin() { return {m_acc, m_count, m_bytes.data() + m_size}; }
    void End(const Register& r)
    {
        m_acc = r.acc;
        m_count = r.count;
        m_size = static_cast<size_t>(r.out - m_bytes.data());
    }

    // Appends the low `length` (0..32) bits of `bits`; higher bits of `bits` must be zero.
    static void Put(Register& r, uint32_t bits, int length)
    {
        r.acc = (r.acc << length) | bits;
        r.count += length;
        if (r.count >= 32) {
            r.count -= 32;
            r.out = StoreWord(r.out, static_cast<uint32_t>(r.acc >> r.count));
        }
    }
    void Put(uint32_t bits, int length)
    {
        Register r = Begin();
        Put(r, bits, length);
        End(r);
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
            const uint8_t b = static_cast<uint8_t>(m_acc >> m_count);
            m_bytes[m_size++] = b;
            if (b == 0xFF)
                m_bytes[m_size++] = 0;
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

    std::vector<uint8_t> m_bytes;
    size_t m_size = 0;
    uint64_t m_acc = 0;
    int m_count = 0;
};
