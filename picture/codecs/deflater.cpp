#include "picture/codecs/deflater.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "picture/codecs/checksums.h"
#include "picture/codecs/deflate_tables.h"
#include "picture/codecs/huffman_code_builder.h"
#include "picture/graphics_exceptions.h"

namespace {
using namespace deflate;

constexpr unsigned kHashSize = 32768;
constexpr unsigned kWindowMask = kWindowSize - 1;
constexpr size_t kLookahead = 512;
constexpr size_t kBufferSize = 2 * kWindowSize + kLookahead;
constexpr size_t kCompareSlack = 8;  // word compares may read this far past the data
constexpr unsigned kUnlimited = ~0u;

unsigned ChainLimit(int level) { return level == 0 ? 1 : level == 3 ? kUnlimited : 64; }

// Symbol and extra-bit tables indexed by match length and by distance.
struct SymbolTables {
    uint8_t lengthCode[kMaxMatch + 1] = {};  // length -> index into kLengthBase
    uint8_t distanceCodeLow[512] = {};       // distance - 1 < 256 -> symbol
    uint8_t distanceCodeHigh[256] = {};      // (distance - 1) >> 7 -> symbol
    SymbolTables()
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
    unsigned DistanceCode(unsigned distance) const
    {
        return distance <= 256 ? distanceCodeLow[distance - 1] : distanceCodeHigh[(distance - 1) >> 7];
    }
};

const SymbolTables& Symbols()
{
    static const SymbolTables tables;
    return tables;
}

uint32_t Hash(const uint8_t* p)
{
    return (p[0] & 0x1Fu) | ((unsigned(p[1]) << 5) & 0x3FFu) | ((unsigned(p[2]) << 10) & 0x7FFFu);
}

// Greedy LZ77 matcher over a sliding buffer of two windows plus look-ahead. Chains hold
// buffer positions + 1 (0 ends a chain) and are rebased when the buffer slides; positions
// more than a window behind are out of reach, which is where the chain is cut.
class CMatcher {
public:
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
            unsigned bestLength = 0, bestDistance = 0;
            if (avail >= kMinMatch) {
                const unsigned maxLength = unsigned(std::min<size_t>(avail, kMaxMatch));
                const uint32_t h = Hash(buf + pos);
                uint32_t candidate = m_head[h];
                unsigned chainLeft = m_chainLimit;
                while (candidate && chainLeft--) {
                    const size_t c = candidate - 1;
                    const size_t distance = pos - c;
                    if (distance > size_t(kWindowSize))
                        break;
                    if (buf[c + bestLength] == buf[pos + bestLength] || bestLength == 0) {
                        const unsigned length = MatchLength(buf + c, buf + pos, maxLength);
                        if (length > bestLength) {
                            bestLength = length;
                            bestDistance = unsigned(distance);
                            if (length == maxLength)
                                break;
                        }
                    }
                    candidate = m_prev[c & kWindowMask];
                }
                m_prev[pos & kWindowMask] = m_head[h];
                m_head[h] = uint32_t(pos + 1);
            }
            if (bestLength >= kMinMatch) {
                emit.Match(bestLength, bestDistance);
                // Positions with fewer than three bytes left can never be found again: skip them.
                const size_t last = std::min(pos + bestLength, end - (kMinMatch - 1));
                for (size_t q = pos + 1; q < last; ++q) {
                    const uint32_t h = Hash(buf + q);
                    m_prev[q & kWindowMask] = m_head[h];
                    m_head[h] = uint32_t(q + 1);
                }
                pos += bestLength;
            } else {
                emit.Literal(buf[pos]);
                ++pos;
            }
        }
    }

private:
    static unsigned MatchLength(const uint8_t* a, const uint8_t* b, unsigned maxLength)
    {
        unsigned n = 0;
        while (n + 8 <= maxLength) {
            uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y)
                return n + unsigned(std::countr_zero(x ^ y) >> 3);
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

// Gathers bits least significant first and passes whole bytes to the sink.
class CBitWriter {
public:
    explicit CBitWriter(CDeflateSink& sink) : m_sink(sink) { m_buffer.reserve(kFlushAt + 8); }

    void Put(uint32_t value, unsigned bits)
    {
        m_acc |= uint64_t(value) << m_count;
        m_count += bits;
        if (m_count >= 32) {
            const uint32_t word = uint32_t(m_acc);
            const uint8_t bytes[4] = {uint8_t(word), uint8_t(word >> 8), uint8_t(word >> 16), uint8_t(word >> 24)};
            m_buffer.insert(m_buffer.end(), bytes, bytes + 4);
            m_acc >>= 32;
            m_count -= 32;
            if (m_buffer.size() >= kFlushAt)
                Drain();
        }
    }
    // Pads the last byte with zero bits and hands everything to the sink.
    void Flush()
    {
        while (m_count > 0) {
            m_buffer.push_back(uint8_t(m_acc));
            m_acc >>= 8;
            m_count = m_count > 8 ? m_count - 8 : 0;
        }
        Drain();
    }

private:
    static constexpr size_t kFlushAt = 1 << 16;
    void Drain()
    {
        if (!m_buffer.empty())
            m_sink.Write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

    CDeflateSink& m_sink;
    std::vector<uint8_t> m_buffer;
    uint64_t m_acc = 0;
    unsigned m_count = 0;
};

struct FrequencyCounter {
    CHuffmanCodeBuilder& litLen;
    CHuffmanCodeBuilder& distance;
    void Literal(uint8_t byte) { litLen.Count(byte); }
    void Match(unsigned length, unsigned dist)
    {
        litLen.Count(257 + Symbols().lengthCode[length]);
        distance.Count(Symbols().DistanceCode(dist));
    }
};

struct CodeWriter {
    const CHuffmanCodeBuilder& litLen;
    const CHuffmanCodeBuilder& distance;
    CBitWriter& out;
    void Literal(uint8_t byte) { out.Put(litLen.CodeUnchecked(byte), litLen.LengthUnchecked(byte)); }
    void Match(unsigned length, unsigned dist)
    {
        const unsigned lc = Symbols().lengthCode[length];
        out.Put(litLen.CodeUnchecked(257 + lc), litLen.LengthUnchecked(257 + lc));
        out.Put(length - kLengthBase[lc], kLengthExtra[lc]);
        const unsigned dc = Symbols().DistanceCode(dist);
        out.Put(distance.CodeUnchecked(dc), distance.LengthUnchecked(dc));
        out.Put(dist - kDistanceBase[dc], kDistanceExtra[dc]);
    }
};

// A code-length sequence run-length coded: zero runs of 3..10 as symbol 17, 11..138 as 18,
// every other length on its own.
std::vector<std::pair<uint8_t, uint8_t>> RunLengthCode(const CHuffmanCodeBuilder& code, unsigned count)
{
    std::vector<std::pair<uint8_t, uint8_t>> out;
    for (unsigned i = 0; i < count;) {
        const unsigned len = code.Length(i);
        if (len != 0) {
            out.emplace_back(uint8_t(len), 0);
            ++i;
            continue;
        }
        unsigned run = 0;
        while (i + run < count && code.Length(i + run) == 0)
            ++run;
        i += run;
        while (run >= 3) {
            const unsigned take = std::min(run, 138u);
            if (take >= 11)
                out.emplace_back(18, uint8_t(take - 11));
            else
                out.emplace_back(17, uint8_t(take - 3));
            run -= take;
        }
        while (run--)
            out.emplace_back(0, 0);
    }
    return out;
}

void WriteRunLengths(CBitWriter& out, const CHuffmanCodeBuilder& codeLengthCode,
                     const std::vector<std::pair<uint8_t, uint8_t>>& sequence)
{
    for (const auto& [symbol, extra] : sequence) {
        out.Put(codeLengthCode.Code(symbol), codeLengthCode.Length(symbol));
        if (symbol == 17)
            out.Put(extra, 3);
        else if (symbol == 18)
            out.Put(extra, 7);
    }
}

void WriteBlockHeader(CBitWriter& out, const CHuffmanCodeBuilder& litLen, const CHuffmanCodeBuilder& distance)
{
    const unsigned litLenUsed = std::max(257u, litLen.UsedPrefix());
    const unsigned distanceUsed = std::max(1u, distance.UsedPrefix());
    const auto litLenRuns = RunLengthCode(litLen, litLenUsed);
    const auto distanceRuns = RunLengthCode(distance, distanceUsed);

    CHuffmanCodeBuilder codeLengthCode(kCodeLengthSymbols, kMaxCodeLengthBits);
    for (const auto& run : litLenRuns)
        codeLengthCode.Count(run.first);
    for (const auto& run : distanceRuns)
        codeLengthCode.Count(run.first);
    codeLengthCode.Build();
    unsigned sent = kCodeLengthSymbols;
    while (sent > 4 && codeLengthCode.Length(kCodeLengthOrder[sent - 1]) == 0)
        --sent;

    out.Put(1, 1); // final block
    out.Put(2, 2); // dynamic Huffman codes
    out.Put(litLenUsed - 257, 5);
    out.Put(distanceUsed - 1, 5);
    out.Put(sent - 4, 4);
    for (unsigned i = 0; i < sent; ++i)
        out.Put(codeLengthCode.Length(kCodeLengthOrder[i]), 3);
    WriteRunLengths(out, codeLengthCode, litLenRuns);
    WriteRunLengths(out, codeLengthCode, distanceRuns);
}
} // namespace

void CDeflater::SetLevel(int level)
{
    if (level < 0 || level > 3)
        throw EPngError("Invalid Compression Level");
    m_level = level;
}

void CDeflater::Deflate(CDeflateSource& source, CDeflateSink& sink)
{
    CMatcher matcher(ChainLimit(m_level));
    CHuffmanCodeBuilder litLen(kLitLenSymbols, kMaxCodeBits);
    CHuffmanCodeBuilder distance(kDistanceSymbols, kMaxCodeBits);

    uint32_t adler = 1;
    FrequencyCounter counter{litLen, distance};
    matcher.Run(source, counter, [&](const uint8_t* data, size_t n) { adler = UpdateAdler32(adler, data, n); });
    litLen.Count(kEndOfBlock);
    litLen.Build();
    distance.Build();
    m_adler = adler;

    CBitWriter out(sink);
    WriteBlockHeader(out, litLen, distance);
    CodeWriter writer{litLen, distance, out};
    matcher.Run(source, writer, [](const uint8_t*, size_t) {});
    out.Put(litLen.Code(kEndOfBlock), litLen.Length(kEndOfBlock));
    out.Flush();
}
