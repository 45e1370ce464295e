#pragma once
// Gathers bits least significant first in a 64-bit accumulator and passes whole bytes to the
// sink in large pieces. After every Put fewer than 8 bits stay pending, so one Put may carry
// up to 56 bits: a whole length/distance pair with its extra bits.
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/codecs/deflater.h"

namespace deflate {

class CBitWriter {
public:
    explicit CBitWriter(CDeflateSink& sink) : m_sink(sink), m_buffer(kFlushAt + kSlack)
    {
        m_out = m_buffer.data();
    }

    // Appends the low `bits` bits of value (at most 56; higher bits of value must be zero).
    void Put(uint64_t value, unsigned bits)
    {
        m_acc |= value << m_count;
        m_count += bits;
        // Store all eight bytes and keep only the complete ones (at most seven, as fewer than 64
        // bits are pending): the rest are rewritten by the next Put.
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(m_out, &m_acc, 8);
        } else {
            for (unsigned i = 0; i < 8; ++i)
                m_out[i] = uint8_t(m_acc >> (8 * i));
        }
        const unsigned whole = m_count >> 3;
        m_out += whole;
        m_acc >>= whole * 8;
        m_count &= 7;
        if (m_out >= m_buffer.data() + kFlushAt)
            Drain();
    }

    // Pads the last byte with zero bits and hands everything to the sink.
    void Flush()
    {
        if (m_count > 0) {
            *m_out++ = uint8_t(m_acc);
            m_acc = 0;
            m_count = 0;
        }
        Drain();
    }

private:
    static constexpr size_t kFlushAt = size_t(1) << 16;
    static constexpr size_t kSlack = 16;

    void Drain()
    {
        const size_t n = size_t(m_out - m_buffer.data());
        if (n)
            m_sink.Write(m_buffer.data(), n);
        m_out = m_buffer.data();
    }

    CDeflateSink& m_sink;
    std::vector<uint8_t> m_buffer;
    uint8_t* m_out;
    uint64_t m_acc = 0;
    unsigned m_count = 0;
};

} // namespace deflate
