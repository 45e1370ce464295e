#pragma once
// Greedy LZ77 matcher of the deflater: hash chains over a sliding buffer of two windows plus
// look-ahead. The chain of a hash lists earlier positions newest first; at most `chainLimit`
// entries within the 32 KiB window are examined and the first longest match of at least three
// bytes wins (the search stops at a match as long as the look-ahead allows).
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/codecs/deflate_tables.h"
#include "picture/codecs/deflater.h"

namespace deflate {

class CMatcher {
public:
    static constexpr unsigned kUnlimited = ~0u;

    explicit CMatcher(unsigned chainLimit)
        : m_chainLimit(chainLimit), m_buffer(kBufferSize + kCompareSlack), m_head(kHashSize), m_prev(kWindowSize)
    {
    }

    // Runs the matcher over the whole input, calling emit.Literal(byte) and
    // emit.Match(length, distance) in order; onInput sees every input byte once.
    template <class Emitter, class InputObserver>
    void Run(CDeflateSource& source, Emitter& emit, InputObserver&& onInput)
    {
        source.Restart();
        std::fill(m_head.begin(), m_head.end(), 0);
        std::fill(m_prev.begin(), m_prev.end(), 0);
        size_t pos = 0, end = 0;
        bool ended = false;
        uint8_t* const buf = m_buffer.data();
        uint32_t* const head = m_head.data();
        uint32_t* const prev = m_prev.data();
        for (;;) {
            if (end - pos < kMaxMatch && !ended) {
                if (end == kBufferSize) {
                    Slide();
                    pos -= kWindowSize;
                    end -= kWindowSize;
                }
                while (end < kBufferSize && !ended) {
                    const size_t got = source.Read(buf + end, kBufferSize - end);
                    if (got == 0)
                        ended = true;
                    onInput(buf + end, got);
                    end += got;
                }
            }
            const size_t avail = end - pos;
            if (avail == 0)
                break;
            if (avail < kMinMatch) {
                emit.Literal(buf[pos]);
                ++pos;
                continue;
            }
            // Chains hold buffer positions + 1 (0 ends a chain).
            const unsigned maxLength = unsigned(std::min<size_t>(avail, kMaxMatch));
            const uint32_t h = Hash(buf + pos);
            const uint64_t here = Load64(buf + pos);
            unsigned bestLength = 0, bestDistance = 0;
            uint32_t candidate = head[h];
            unsigned chainLeft = m_chainLimit;
            while (candidate && chainLeft--) {
                const size_t c = candidate - 1;
                const size_t distance = pos - c;
                if (distance > size_t(kWindowSize))
                    break;
                // Most matches are short: the first eight bytes settle them without a loop.
                const uint64_t diff = Load64(buf + c) ^ here;
                unsigned length = diff ? FirstDifferentByte(diff) : LongMatchLength(buf + c, buf + pos, maxLength);
                length = std::min(length, maxLength);
                const bool better = length > bestLength;
                bestDistance = better ? unsigned(distance) : bestDistance;
                bestLength = better ? length : bestLength;
                if (bestLength == maxLength)
                    break;
                candidate = prev[c & kWindowMask];
            }
            prev[pos & kWindowMask] = head[h];
            head[h] = uint32_t(pos + 1);
            if (bestLength >= kMinMatch) {
                emit.Match(bestLength, bestDistance);
                // Positions with fewer than three bytes left can never be found again: skip them.
                const size_t last = std::min(pos + bestLength, end - (kMinMatch - 1));
                for (size_t q = pos + 1; q < last; ++q) {
                    const uint32_t hq = Hash(buf + q);
                    prev[q & kWindowMask] = head[hq];
                    head[hq] = uint32_t(q + 1);
                }
                pos += bestLength;
            } else {
                emit.Literal(buf[pos]);
                ++pos;
            }
        }
    }

private:
    static constexpr unsigned kHashSize = 32768;
    static constexpr unsigned kWindowMask = kWindowSize - 1;
    static constexpr size_t kLookahead = 512;
    static constexpr size_t kBufferSize = 2 * kWindowSize + kLookahead;
    static constexpr size_t kCompareSlack = 8; // word loads may read this far past the data

    static uint64_t Load64(const uint8_t* p)
    {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }

    // Index of the first byte in which two loaded words differ (diff != 0).
    static unsigned FirstDifferentByte(uint64_t diff)
    {
        if constexpr (std::endian::native == std::endian::little)
            return unsigned(std::countr_zero(diff)) >> 3;
        else
            return unsigned(std::countl_zero(diff)) >> 3;
    }

    // The hash of three bytes: five low bits of each.
    static uint32_t Hash(const uint8_t* p)
    {
        return (p[0] & 0x1Fu) | ((unsigned(p[1]) << 5) & 0x3FFu) | ((unsigned(p[2]) << 10) & 0x7FFFu);
    }

    // Length of a match whose first eight bytes agree, possibly more than maxLength when
    // maxLength is below eight (the caller clamps it).
    static unsigned LongMatchLength(const uint8_t* a, const uint8_t* b, unsigned maxLength)
    {
        unsigned n = 8;
        while (n + 8 <= maxLength) {
            const uint64_t diff = Load64(a + n) ^ Load64(b + n);
            if (diff)
                return n + FirstDifferentByte(diff);
            n += 8;
        }
        while (n < maxLength && a[n] == b[n])
            ++n;
        return n;
    }

    void Slide()
    {
        std::memmove(m_buffer.data(), m_buffer.data() + kWindowSize, kBufferSize - kWindowSize);
        for (uint32_t& v : m_head)
            v = v > kWindowSize ? v - kWindowSize : 0;
        for (uint32_t& v : m_prev)
            v = v > kWindowSize ? v - kWindowSize : 0;
    }

    unsigned m_chainLimit;
    std::vector<uint8_t> m_buffer;
    std::vector<uint32_t> m_head;
    std::vector<uint32_t> m_prev;
};

} // namespace deflate
