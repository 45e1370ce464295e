#pragma once
// Greedy LZ77 matcher of the deflater over a sliding buffer of two windows plus look-ahead.
//
// The rule: the chain of a position's hash (five low bits of each of three bytes) lists the
// earlier positions with that hash, newest first; the first `chainLimit` entries within the
// 32 KiB window are the candidates, and the first longest match of at least three bytes among
// them wins (the search stops at a match as long as the look-ahead allows).
//
// The same answer is found with fewer steps through a second chain keyed by four whole bytes:
// every candidate matching four bytes or more lies on it, in the same newest-first order, and
// a serial number per hash tells whether an entry is among the first `chainLimit` of its hash
// chain. Only when no candidate matches four bytes is the hash chain walked, for the newest
// candidate matching three. Entries of other three-byte prefixes that share the four-byte hash
// are passed by; should a chain hold too many of them (unlucky or crafted data), the search
// falls back to the plain walk of the hash chain, whose length the chain limit bounds.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/codecs/deflate_tables.h"
#include "picture/codecs/deflater.h"

namespace deflate {

struct MatcherOptions {
    // Chains hold absolute input positions + 1 (0 ends a chain); when the positions pass
    // rebaseAt they are all moved down, so that they stay far from overflowing.
    uint32_t rebaseAt = uint32_t(1) << 31;
    unsigned hash4Bits = 17;     // size of the four-byte hash table (tests shrink it)
    unsigned strangerLimit = 32; // prefixes passed by before the plain walk takes over
};

class CMatcher {
public:
    static constexpr unsigned kUnlimited = ~0u;
    // Chain limits up to this are searched by the plain walk alone: it takes no more steps.
    static constexpr unsigned kPlainWalkUpTo = 4;

    explicit CMatcher(unsigned chainLimit, const MatcherOptions& options = {})
        : m_chainLimit(chainLimit), m_rebaseAt(std::max<uint32_t>(options.rebaseAt, kWindowSize)),
          m_hash4Shift(32 - std::clamp(options.hash4Bits, 1u, 24u)), m_strangerLimit(options.strangerLimit),
          m_fourByteChains(chainLimit > kPlainWalkUpTo),
          m_buffer(kBufferSize + kCompareSlack), m_hash(kHashSize), m_prev(kWindowSize), m_slot(kWindowSize),
          m_head4(size_t(1) << (32 - m_hash4Shift))
    {
    }

    // Runs the matcher over the whole input, calling emit.Literal(byte) and
    // emit.Match(length, distance) in order; onInput sees every input byte once.
    template <class Emitter, class InputObserver>
    void Run(CDeflateSource& source, Emitter& emit, InputObserver&& onInput)
    {
        source.Restart();
        std::fill(m_hash.begin(), m_hash.end(), HashEntry{});
        std::fill(m_slot.begin(), m_slot.end(), SlotEntry{});
        for (auto* table : {&m_prev, &m_head4})
            std::fill(table->begin(), table->end(), 0);
        m_base = 0;
        size_t pos = 0, end = 0;
        bool ended = false;
        uint8_t* const buf = m_buffer.data();
        for (;;) {
            if (end - pos < kRefillBelow && !ended) {
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
            const uint8_t* const here = buf + pos;
            const uint32_t at = uint32_t(m_base + pos);
            const uint32_t h = Hash(here);
            const unsigned maxLength = unsigned(std::min<size_t>(avail, kMaxMatch));
            Match best;
            const bool settled = avail == kMinMatch ||
                                 (m_fourByteChains && LongestOfFourByteChain(here, at, h, maxLength, best));
            if (!settled)
                best = LongestOnHashChain(here, at, h, maxLength);
            else if (best.length <= kMinMatch)
                best = NewestOfThree(here, at, h);
            Insert(here, at);
            if (best.length >= kMinMatch) {
                // The next search's chain heads are known now: fetch them while the covered
                // positions are inserted.
                if (pos + best.length + 4 <= end) {
                    if (m_fourByteChains)
                        __builtin_prefetch(&m_head4[Hash4(here + best.length)]);
                    __builtin_prefetch(&m_hash[Hash(here + best.length)]);
                }
                emit.Match(best.length, best.distance);
                // Positions with fewer than three bytes left can never be found again: skip them.
                const size_t last = std::min(pos + best.length, end - (kMinMatch - 1));
                for (size_t q = pos + 1; q < last; ++q)
                    Insert(buf + q, uint32_t(m_base + q));
                pos += best.length;
            } else {
                emit.Literal(buf[pos]);
                ++pos;
            }
        }
    }

private:
    struct Match {
        unsigned length = 0, distance = 0;
    };

    static constexpr unsigned kHashSize = 32768;
    static constexpr unsigned kWindowMask = kWindowSize - 1;
    static constexpr size_t kLookahead = 512;
    static constexpr size_t kBufferSize = 2 * kWindowSize + kLookahead;
    static constexpr size_t kCompareSlack = 8; // word loads may read this far past the data
    // Before a search (unless the input has ended) at least this much look-ahead: a longest
    // match plus the fourth byte of every position it covers.
    static constexpr size_t kRefillBelow = kMaxMatch + 8;

    static uint64_t Load64(const uint8_t* p)
    {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    static uint32_t Load32(const uint8_t* p)
    {
        uint32_t v;
        std::memcpy(&v, p, 4);
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
    static bool FirstThreeEqual(uint64_t diff)
    {
        if constexpr (std::endian::native == std::endian::little)
            return (diff & 0xFFFFFFu) == 0;
        else
            return (diff >> 40) == 0;
    }

    // The hash of three bytes: five low bits of each.
    static uint32_t Hash(const uint8_t* p)
    {
        if constexpr (std::endian::native == std::endian::little) {
            const uint32_t w = Load32(p);
            return (w & 0x1Fu) | ((w >> 3) & 0x3E0u) | ((w >> 6) & 0x7C00u);
        } else {
            return (p[0] & 0x1Fu) | ((unsigned(p[1]) << 5) & 0x3FFu) | ((unsigned(p[2]) << 10) & 0x7FFFu);
        }
    }
    // Any mix of four bytes: it only sorts positions into chains that are then checked.
    uint32_t Hash4(const uint8_t* p) const { return (Load32(p) * 2654435761u) >> m_hash4Shift; }

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

    // Whether the position in `slot`, of hash h, is among the first chainLimit entries of
    // h's chain: its serial counts the insertions of h up to it.
    bool WithinChainLimit(uint32_t h, unsigned slot) const
    {
        return m_hash[h].count - m_slot[slot].serial < m_chainLimit;
    }

    // The first longest candidate of four or more bytes into best (length 0 when there is
    // none; a length of three only tells of a candidate whose fourth byte differs). False when
    // the chain held too many other prefixes: then best means nothing.
    bool LongestOfFourByteChain(const uint8_t* here, uint32_t at, uint32_t h, unsigned maxLength, Match& best) const
    {
        const uint64_t word = Load64(here);
        unsigned strangers = 0;
        for (uint32_t entry = m_head4[Hash4(here)]; entry;) {
            const uint32_t c = entry - 1;
            const uint32_t distance = at - c;
            if (distance > uint32_t(kWindowSize))
                break;
            const uint8_t* const candidate = here - distance;
            const uint64_t diff = Load64(candidate) ^ word;
            // Another three bytes have another hash chain: pass them by. On the own chain the
            // serials fall along the chain, so the first one past the limit ends the search.
            if (FirstThreeEqual(diff)) {
                if (!WithinChainLimit(h, c & kWindowMask))
                    break;
                unsigned length = diff ? FirstDifferentByte(diff) : LongMatchLength(candidate, here, maxLength);
                length = std::min(length, maxLength);
                const bool better = length > best.length;
                best.distance = better ? distance : best.distance;
                best.length = better ? length : best.length;
                if (best.length == maxLength)
                    break;
            } else if (++strangers > m_strangerLimit) {
                return false;
            }
            entry = m_slot[c & kWindowMask].prev4;
        }
        return true;
    }

    // The rule itself: every candidate of the hash chain up to the limit, the first longest
    // wins (a length below three means no match).
    Match LongestOnHashChain(const uint8_t* here, uint32_t at, uint32_t h, unsigned maxLength) const
    {
        const uint64_t word = Load64(here);
        Match best;
        unsigned chainLeft = m_chainLimit;
        for (uint32_t entry = m_hash[h].head; entry && chainLeft--;) {
            const uint32_t c = entry - 1;
            const uint32_t distance = at - c;
            if (distance > uint32_t(kWindowSize))
                break;
            const uint8_t* const candidate = here - distance;
            const uint64_t diff = Load64(candidate) ^ word;
            unsigned length = diff ? FirstDifferentByte(diff) : LongMatchLength(candidate, here, maxLength);
            length = std::min(length, maxLength);
            if (length > best.length) {
                best = {length, distance};
                if (length == maxLength)
                    break;
            }
            entry = m_prev[c & kWindowMask];
        }
        return best;
    }

    // The newest candidate matching three bytes (at most three can match: longer matches are
    // found on the four-byte chain).
    Match NewestOfThree(const uint8_t* here, uint32_t at, uint32_t h) const
    {
        const uint64_t word = Load64(here);
        unsigned chainLeft = m_chainLimit;
        for (uint32_t entry = m_hash[h].head; entry && chainLeft--;) {
            const uint32_t c = entry - 1;
            const uint32_t distance = at - c;
            if (distance > uint32_t(kWindowSize))
                break;
            if (FirstThreeEqual(Load64(here - distance) ^ word))
                return {kMinMatch, distance};
            entry = m_prev[c & kWindowMask];
        }
        return {};
    }

    void Insert(const uint8_t* p, uint32_t at)
    {
        const unsigned slot = at & kWindowMask;
        HashEntry& chain = m_hash[Hash(p)];
        m_prev[slot] = chain.head;
        chain.head = at + 1;
        if (!m_fourByteChains)
            return;
        uint32_t& head4 = m_head4[Hash4(p)];
        m_slot[slot] = {head4, ++chain.count};
        head4 = at + 1;
    }

    // Moves the buffer down by a window; positions are absolute and need no change until they
    // approach the limit.
    void Slide()
    {
        std::memmove(m_buffer.data(), m_buffer.data() + kWindowSize, kBufferSize - kWindowSize);
        m_base += kWindowSize;
        if (m_base >= m_rebaseAt) {
            // Everything below the buffer's start is out of reach: those links end chains.
            const uint32_t delta = m_base;
            const auto down = [delta](uint32_t& v) { v = v > delta ? v - delta : 0; };
            for (HashEntry& e : m_hash)
                down(e.head);
            for (SlotEntry& e : m_slot)
                down(e.prev4);
            for (auto* table : {&m_prev, &m_head4})
                for (uint32_t& v : *table)
                    down(v);
            m_base = 0;
        }
    }

    unsigned m_chainLimit;
    uint32_t m_rebaseAt;
    unsigned m_hash4Shift;
    unsigned m_strangerLimit;
    bool m_fourByteChains; // kept only for chain limits where they save steps
    uint32_t m_base = 0; // absolute position of the buffer's first byte
    std::vector<uint8_t> m_buffer;
    // What is read together is stored together: one cache line per step.
    struct HashEntry {
        uint32_t head = 0;  // newest position + 1
        uint32_t count = 0; // positions inserted with this hash so far
    };
    struct SlotEntry {
        uint32_t prev4 = 0;  // next older position + 1 of the same four-byte hash
        uint32_t serial = 0; // its hash's count when the slot's position was inserted
    };
    std::vector<HashEntry> m_hash;   // by hash
    std::vector<uint32_t> m_prev;    // window slot -> next older position + 1 of the same hash
    std::vector<SlotEntry> m_slot;   // by window slot
    std::vector<uint32_t> m_head4;   // four-byte hash -> newest position + 1
};

} // namespace deflate
