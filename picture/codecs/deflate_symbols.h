#pragma once
// Length and distance symbols of deflate looked up by match length and distance, and the
// compact log in which the deflater's first pass records its symbol sequence for the second.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/codecs/deflate_tables.h"

namespace deflate {

// Symbol tables indexed by match length and by distance.
struct SymbolTables {
    uint8_t lengthCode[kMaxMatch + 1] = {};  // length -> index into kLengthBase
    uint8_t distanceCodeLow[256] = {};       // distance - 1 < 256 -> symbol
    uint8_t distanceCodeHigh[256] = {};      // (distance - 1) >> 7 -> symbol, for distances above 256
    constexpr SymbolTables()
    {
        for (unsigned code = 0; code < 29; ++code) {
            const unsigned top = code == 28 ? kMaxMatch : kLengthBase[code + 1] - 1;
            for (unsigned len = kLengthBase[code]; len <= top; ++len)
                lengthCode[len] = uint8_t(code);
        }
        lengthCode[kMaxMatch] = 28;
        for (unsigned code = 0; code < 30; ++code) {
            const unsigned top = code == 29 ? 32768 : kDistanceBase[code + 1] - 1;
            for (unsigned d = kDistanceBase[code]; d <= top; ++d) {
                if (d <= 256)
                    distanceCodeLow[d - 1] = uint8_t(code);
                else
                    distanceCodeHigh[(d - 1) >> 7] = uint8_t(code);
            }
        }
    }
    constexpr unsigned DistanceCode(unsigned distance) const
    {
        return distance <= 256 ? distanceCodeLow[distance - 1] : distanceCodeHigh[(distance - 1) >> 7];
    }
};

inline constexpr SymbolTables kSymbols{};

// The symbol sequence of one pass in 16-bit units: a literal is one unit (its byte value), a
// match two units (256 + length - 3, then distance - 1). Storage grows in blocks up to a limit;
// past it the log stops recording and says so, and the caller produces the sequence again.
class CSymbolLog {
public:
    explicit CSymbolLog(size_t limitBytes) : m_limitUnits(limitBytes / sizeof(uint16_t)) {}

    bool Complete() const { return !m_overflow; }

    // Whether a record with this limit holds the sequence of any input of inputBytes: a symbol
    // takes at most one unit per input byte, and a block loses at most one unit at its end.
    static bool AlwaysHolds(uint64_t inputBytes, size_t limitBytes)
    {
        const uint64_t blocks = inputBytes / (kBlockUnits - 1) + 1;
        return blocks <= limitBytes / sizeof(uint16_t) / kBlockUnits;
    }

    void Literal(uint8_t byte)
    {
        if (m_free < 1 && !Grow())
            return;
        *m_next++ = byte;
        --m_free;
    }
    void Match(unsigned length, unsigned distance)
    {
        if (m_free < 2 && !Grow())
            return;
        m_next[0] = uint16_t(256 + length - kMinMatch);
        m_next[1] = uint16_t(distance - 1);
        m_next += 2;
        m_free -= 2;
    }

    // Calls emit.Literal(byte) and emit.Match(length, distance) for the recorded sequence.
    template <class Emitter>
    void Replay(Emitter& emit) const
    {
        for (size_t b = 0; b < m_blocks.size(); ++b) {
            const uint16_t* p = m_blocks[b].get();
            const uint16_t* const end = b + 1 < m_blocks.size() ? p + m_blockUsed[b] : m_next;
            while (p < end) {
                const unsigned unit = *p++;
                if (unit < 256) {
                    emit.Literal(uint8_t(unit));
                } else {
                    emit.Match(unit - 256 + kMinMatch, unsigned(*p++) + 1);
                }
            }
        }
    }

private:
    static constexpr size_t kBlockUnits = size_t(1) << 20;

    // A new block when the limit allows it (a match never straddles two blocks).
    bool Grow()
    {
        if (m_overflow)
            return false;
        if (!m_blocks.empty())
            m_blockUsed.push_back(size_t(m_next - m_blocks.back().get()));
        if ((m_blocks.size() + 1) * kBlockUnits > m_limitUnits) {
            m_overflow = true;
            m_blocks.clear();
            m_blockUsed.clear();
            m_next = nullptr;
            m_free = 0;
            return false;
        }
        m_blocks.push_back(std::make_unique_for_overwrite<uint16_t[]>(kBlockUnits));
        m_next = m_blocks.back().get();
        m_free = kBlockUnits;
        return true;
    }

    size_t m_limitUnits;
    std::vector<std::unique_ptr<uint16_t[]>> m_blocks;
    std::vector<size_t> m_blockUsed; // units used in every block but the last
    uint16_t* m_next = nullptr;
    size_t m_free = 0;
    bool m_overflow = false;
};

} // namespace deflate
