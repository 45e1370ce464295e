#include "picture/codecs/deflater.h"

#include <algorithm>
#include <utility>

#include "picture/codecs/checksums.h"
#include "picture/codecs/deflate_bit_writer.h"
#include "picture/codecs/deflate_matcher.h"
#include "picture/codecs/deflate_symbols.h"
#include "picture/codecs/deflate_tables.h"
#include "picture/codecs/huffman_code_builder.h"
#include "picture/graphics_exceptions.h"

namespace {
using namespace deflate;

unsigned ChainLimit(int level) { return level == 0 ? 1 : level == 3 ? CMatcher::kUnlimited : 64; }

// Pass 1: counts the symbol frequencies and records the sequence. The symbols come from the
// tables and are always inside their alphabets; the builders check them when they take the
// counts.
struct FrequencyCounter {
    CSymbolLog& log;
    uint64_t litLen[kLitLenSymbols] = {};
    uint64_t distance[kDistanceSymbols] = {};
    void Literal(uint8_t byte)
    {
        ++litLen[byte];
        log.Literal(byte);
    }
    void Match(unsigned length, unsigned dist)
    {
        ++litLen[257 + kSymbols.lengthCode[length]];
        ++distance[kSymbols.DistanceCode(dist)];
        log.Match(length, dist);
    }
    void HandTo(CHuffmanCodeBuilder& litLenCode, CHuffmanCodeBuilder& distanceCode) const
    {
        for (unsigned s = 0; s < kLitLenSymbols; ++s)
            if (litLen[s])
                litLenCode.Count(s, litLen[s]);
        for (unsigned s = 0; s < kDistanceSymbols; ++s)
            if (distance[s])
                distanceCode.Count(s, distance[s]);
    }
};

// Pass 2: writes every symbol's code, a length or distance symbol with its extra bits, a
// whole match in one Put.
struct CodeWriter {
    const CHuffmanCodeBuilder& litLen;
    const CHuffmanCodeBuilder& distance;
    CBitWriter& out;
    void Literal(uint8_t byte) { out.Put(litLen.CodeUnchecked(byte), litLen.LengthUnchecked(byte)); }
    void Match(unsigned length, unsigned dist)
    {
        const unsigned lc = kSymbols.lengthCode[length];
        const unsigned dc = kSymbols.DistanceCode(dist);
        uint64_t bits = litLen.CodeUnchecked(257 + lc);
        unsigned n = litLen.LengthUnchecked(257 + lc);
        bits |= uint64_t(length - kLengthBase[lc]) << n;
        n += kLengthExtra[lc];
        bits |= uint64_t(distance.CodeUnchecked(dc)) << n;
        n += distance.LengthUnchecked(dc);
        bits |= uint64_t(dist - kDistanceBase[dc]) << n;
        n += kDistanceExtra[dc];
        out.Put(bits, n);
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

bool CDeflater::ReadsInputOnce(uint64_t inputBytes) const
{
    return CSymbolLog::AlwaysHolds(inputBytes, m_symbolLogLimit);
}

void CDeflater::Deflate(CDeflateSource& source, CDeflateSink& sink)
{
    CMatcher matcher(ChainLimit(m_level));
    CHuffmanCodeBuilder litLen(kLitLenSymbols, kMaxCodeBits);
    CHuffmanCodeBuilder distance(kDistanceSymbols, kMaxCodeBits);

    uint32_t adler = 1;
    CSymbolLog log(m_symbolLogLimit);
    FrequencyCounter counter{log};
    matcher.Run(source, counter, [&](const uint8_t* data, size_t n) { adler = UpdateAdler32(adler, data, n); });
    counter.HandTo(litLen, distance);
    litLen.Count(kEndOfBlock);
    litLen.Build();
    distance.Build();
    m_adler = adler;

    CBitWriter out(sink);
    WriteBlockHeader(out, litLen, distance);
    CodeWriter writer{litLen, distance, out};
    m_rematched = !log.Complete();
    if (!m_rematched)
        log.Replay(writer);
    else
        matcher.Run(source, writer, [](const uint8_t*, size_t) {});
    out.Put(litLen.Code(kEndOfBlock), litLen.Length(kEndOfBlock));
    out.Flush();
}
