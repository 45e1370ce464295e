#include "reference_inflater.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "picture/codecs/deflate_tables.h"
#include "picture/graphics_exceptions.h"

static_assert(std::endian::native == std::endian::little, "the bit reader loads words little-endian");

namespace {
using namespace deflate;

constexpr size_t kHistory = kWindowSize;
constexpr size_t kChunk = 1 << 18;     // output decoded between two slides of the history
constexpr size_t kCopySlack = 16;      // word copies may write this far past a match
constexpr unsigned kLitLenBits = 10;   // bits resolved by the first table lookup
constexpr unsigned kDistanceBits = 8;
constexpr unsigned kCodeLengthBits = 7;

// A decoding table entry: bits 0-3 bits to consume, 4-7 kind, 8-11 extra bits (or the bit
// count of a subtable), 16-31 value (literal, base length or distance, subtable offset).
enum Kind : uint32_t { kLiteral, kLength, kEndBlock, kLink, kNoCode, kBadValue, kDistance, kSymbol };

constexpr uint32_t Entry(uint32_t bits, Kind kind, uint32_t extra, uint32_t value)
{
    return bits | uint32_t(kind) << 4 | extra << 8 | value << 16;
}
constexpr unsigned EntryBits(uint32_t e) { return e & 15; }
constexpr Kind EntryKind(uint32_t e) { return Kind((e >> 4) & 15); }
constexpr unsigned EntryExtra(uint32_t e) { return (e >> 8) & 15; }
constexpr unsigned EntryValue(uint32_t e) { return e >> 16; }

enum class Alphabet { kLitLen, kDistance, kCodeLength };

uint32_t SymbolEntry(Alphabet alphabet, unsigned symbol, unsigned bits)
{
    switch (alphabet) {
    case Alphabet::kLitLen:
        if (symbol < 256) return Entry(bits, kLiteral, 0, symbol);
        if (symbol == 256) return Entry(bits, kEndBlock, 0, 0);
        if (symbol <= 285) return Entry(bits, kLength, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
        return Entry(bits, kBadValue, 0, symbol);
    case Alphabet::kDistance:
        if (symbol < 30) return Entry(bits, kDistance, kDistanceExtra[symbol], kDistanceBase[symbol]);
        return Entry(bits, kBadValue, 0, symbol);
    case Alphabet::kCodeLength:
        break;
    }
    return Entry(bits, kSymbol, 0, symbol);
}

unsigned ReverseBits(unsigned code, unsigned length)
{
    unsigned r = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1)
        r = (r << 1) | (code & 1);
    return r;
}

// Builds a table resolving `primaryBits` bits at once, with subtables for longer codes.
// Over-subscribed code sets are refused; incomplete ones leave kNoCode entries.
void BuildTable(const uint8_t* lengths, unsigned count, Alphabet alphabet, unsigned primaryBits,
                std::vector<uint32_t>& table)
{
    unsigned lengthCount[16] = {};
    for (unsigned s = 0; s < count; ++s)
        ++lengthCount[lengths[s]];
    lengthCount[0] = 0;
    int left = 1;
    unsigned maxLength = 0;
    for (unsigned len = 1; len <= 15; ++len) {
        left = left * 2 - int(lengthCount[len]);
        if (left < 0)
            throw EPngError("An Error occurred");
        if (lengthCount[len])
            maxLength = len;
    }
    const unsigned subBits = maxLength > primaryBits ? maxLength - primaryBits : 0;
    table.assign(size_t(1) << primaryBits, Entry(primaryBits, kNoCode, 0, 0));

    // Canonical codes: first code of each length, then consecutive values by symbol order.
    unsigned nextCode[16] = {};
    for (unsigned len = 1, code = 0; len <= 15; ++len) {
        code = (code + lengthCount[len - 1]) << 1;
        nextCode[len] = code;
    }
    for (unsigned s = 0; s < count; ++s) {
        const unsigned len = lengths[s];
        if (!len)
            continue;
        const unsigned reversed = ReverseBits(nextCode[len]++, len);
        if (len <= primaryBits) {
            const uint32_t e = SymbolEntry(alphabet, s, len);
            for (unsigned i = reversed; i < (1u << primaryBits); i += 1u << len)
                table[i] = e;
            continue;
        }
        const unsigned prefix = reversed & ((1u << primaryBits) - 1);
        if (EntryKind(table[prefix]) != kLink) {
            const size_t offset = table.size();
            table[prefix] = Entry(primaryBits, kLink, subBits, uint32_t(offset));
            table.resize(offset + (size_t(1) << subBits), Entry(subBits, kNoCode, 0, 0));
        }
        const size_t offset = EntryValue(table[prefix]);
        const unsigned rest = len - primaryBits;
        const uint32_t e = SymbolEntry(alphabet, s, rest);
        for (unsigned i = reversed >> primaryBits; i < (1u << subBits); i += 1u << rest)
            table[offset + i] = e;
    }
}

uint64_t LoadWord(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
} // namespace

CReferenceInflater::CReferenceInflater(CInflateSource& source) : m_source(source), m_out(kHistory + kChunk + kCopySlack) {}

void CReferenceInflater::Fail(const char* message) { throw EPngError(message); }

bool CReferenceInflater::NextPiece()
{
    while (!m_inputEnded) {
        const uint8_t* data = nullptr;
        size_t n = m_source.NextInput(data);
        if (n == 0) {
            m_inputEnded = true;
            break;
        }
        m_in = data;
        m_inEnd = data + n;
        return true;
    }
    m_in = m_inEnd = nullptr;
    return false;
}

// Bits above m_count may already hold the following input bytes (a word load takes eight at
// once); refills OR the same bytes into the same places, so they stay consistent.
inline void CReferenceInflater::Refill()
{
    if (m_inEnd - m_in >= 8) {
        m_bits |= LoadWord(m_in) << m_count;
        m_in += (63 - m_count) >> 3;
        m_count |= 56;
    } else {
        RefillSlow();
    }
}

void CReferenceInflater::RefillSlow()
{
    while (m_count <= 56) {
        if (m_in == m_inEnd && !NextPiece())
            return;
        m_bits |= uint64_t(*m_in++) << m_count;
        m_count += 8;
    }
}

unsigned CReferenceInflater::TakeBits(unsigned n)
{
    if (m_count < n) {
        Refill();
        if (m_count < n)
            Fail("Premature End-Of-File");
    }
    const unsigned v = unsigned(m_bits & ((uint64_t(1) << n) - 1));
    m_bits >>= n;
    m_count -= n;
    return v;
}

void CReferenceInflater::Read(uint8_t* dst, size_t n)
{
    if (ReadSome(dst, n) != n)
        Fail("Premature End-Of-File");
}

size_t CReferenceInflater::ReadSome(uint8_t* dst, size_t n)
{
    size_t done = 0;
    while (done < n) {
        if (m_readPos == m_outPos) {
            if (m_state == State::kDone)
                break;
            Decode();
            continue;
        }
        const size_t take = std::min(n - done, m_outPos - m_readPos);
        std::memcpy(dst + done, &m_out[m_readPos], take);
                m_readPos += take;
        done += take;
    }
    return done;
}

void CReferenceInflater::ExpectEnd()
{
    while (m_readPos == m_outPos && m_state != State::kDone)
        Decode();
    if (m_readPos != m_outPos)
        Fail("Missing End Marker");
}

bool CReferenceInflater::ReadTrailerByte(uint8_t& byte)
{
    if (m_state != State::kDone)
        return false;
    m_bits >>= m_count & 7;
    m_count &= ~7u;
    if (m_count == 0) {
        m_bits = 0;
        if (m_in == m_inEnd && !NextPiece())
            return false;
        byte = *m_in++;
        return true;
    }
    byte = uint8_t(m_bits);
    m_bits >>= 8;
    m_count -= 8;
    return true;
}

// Keeps the last 32 KiB of history (and anything not yet handed out) at the buffer's start.
void CReferenceInflater::MakeRoom()
{
    if (m_outPos + kMaxMatch <= kHistory + kChunk)
        return;
    size_t keepFrom = m_outPos > kHistory ? m_outPos - kHistory : 0;
    keepFrom = std::min(keepFrom, m_readPos);
    std::memmove(m_out.data(), m_out.data() + keepFrom, m_outPos - keepFrom);
    m_outPos -= keepFrom;
    m_readPos -= keepFrom;
}

// Produces output until the buffer is full or the final block has ended.
void CReferenceInflater::Decode()
{
    MakeRoom();
    while (m_state != State::kDone && m_outPos + kMaxMatch <= kHistory + kChunk) {
        switch (m_state) {
        case State::kBlockHeader: ReadBlockHeader(); break;
        case State::kStored: DecodeStored(); break;
        case State::kHuffman: DecodeHuffman(); break;
        case State::kDone: break;
        }
    }
}

void CReferenceInflater::ReadBlockHeader()
{
    m_finalBlock = TakeBits(1) != 0;
    switch (TakeBits(2)) {
    case 0: {
        m_bits >>= m_count & 7;
        m_count &= ~7u;
        const unsigned len = TakeBits(16), nlen = TakeBits(16);
        if ((len ^ nlen) != 0xFFFF)
            Fail("An Error occurred");
        m_storedLeft = len;
        m_state = State::kStored;
        break;
    }
    case 1: UseFixedTables(); m_state = State::kHuffman; break;
    case 2: ReadDynamicTables(); m_state = State::kHuffman; break;
    default: Fail("An Error occurred");
    }
}

void CReferenceInflater::UseFixedTables()
{
    uint8_t lengths[288 + 32];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    std::fill(lengths + 288, lengths + 320, 5);
    BuildTable(lengths, 288, Alphabet::kLitLen, kLitLenBits, m_litLenTable);
    BuildTable(lengths + 288, 32, Alphabet::kDistance, kDistanceBits, m_distanceTable);
}

void CReferenceInflater::ReadDynamicTables()
{
    const unsigned litLenCount = TakeBits(5) + 257;
    const unsigned distanceCount = TakeBits(5) + 1;
    const unsigned codeLengthCount = TakeBits(4) + 4;
    uint8_t codeLengthLengths[19] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i)
        codeLengthLengths[kCodeLengthOrder[i]] = uint8_t(TakeBits(3));
    std::vector<uint32_t> codeLengthTable;
    BuildTable(codeLengthLengths, 19, Alphabet::kCodeLength, kCodeLengthBits, codeLengthTable);

    uint8_t lengths[288 + 32] = {};
    const unsigned total = litLenCount + distanceCount;
    for (unsigned i = 0; i < total;) {
        Refill();
        const uint32_t e = codeLengthTable[m_bits & ((1u << kCodeLengthBits) - 1)];
        if (EntryBits(e) > m_count)
            Fail("Premature End-Of-File");
        if (EntryKind(e) != kSymbol)
            Fail("Bad Code");
        m_bits >>= EntryBits(e);
        m_count -= EntryBits(e);
        const unsigned symbol = EntryValue(e);
        if (symbol < 16) {
            lengths[i++] = uint8_t(symbol);
            continue;
        }
        uint8_t value = 0;
        unsigned repeat;
        if (symbol == 16) {
            if (i == 0)
                Fail("Bad Code");
            value = lengths[i - 1];
            repeat = 3 + TakeBits(2);
        } else if (symbol == 17) {
            repeat = 3 + TakeBits(3);
        } else {
            repeat = 11 + TakeBits(7);
        }
        if (i + repeat > total)
            Fail("Length Command Out of Range");
        std::fill(lengths + i, lengths + i + repeat, value);
        i += repeat;
    }
    BuildTable(lengths, litLenCount, Alphabet::kLitLen, kLitLenBits, m_litLenTable);
    BuildTable(lengths + litLenCount, distanceCount, Alphabet::kDistance, kDistanceBits, m_distanceTable);
}

void CReferenceInflater::DecodeStored()
{
    const size_t room = kHistory + kChunk - m_outPos;
    size_t n = std::min<size_t>(m_storedLeft, room);
    uint8_t* out = &m_out[m_outPos];
    size_t done = 0;
    while (done < n && m_count >= 8) {
        out[done++] = uint8_t(m_bits);
        m_bits >>= 8;
        m_count -= 8;
    }
    if (m_count == 0)
        m_bits = 0;
    while (done < n) {
        if (m_in == m_inEnd && !NextPiece())
            Fail("Premature End-Of-File");
        const size_t take = std::min<size_t>(n - done, m_inEnd - m_in);
        std::memcpy(out + done, m_in, take);
        m_in += take;
        done += take;
    }
    m_outPos += n;
    m_produced += n;
    m_storedLeft -= uint32_t(n);
    if (m_storedLeft == 0)
        m_state = m_finalBlock ? State::kDone : State::kBlockHeader;
}

// The hot loop: one refill per symbol covers a length, its extra bits, a distance and its
// extra bits (at most 48 bits) whenever the input has eight bytes to spare.
void CReferenceInflater::DecodeHuffman()
{
    const uint32_t* litLen = m_litLenTable.data();
    const uint32_t* distances = m_distanceTable.data();
    uint8_t* const out = m_out.data();
    const size_t limit = kHistory + kChunk - kMaxMatch;
    size_t pos = m_outPos;
    const size_t start = pos;
    const uint64_t producedBefore = m_produced;

    auto finish = [&] {
        m_produced = producedBefore + (pos - start);
        m_outPos = pos;
    };

    while (pos <= limit) {
        Refill();
        uint32_t e = litLen[m_bits & ((1u << kLitLenBits) - 1)];
        unsigned used = EntryBits(e);
        if (EntryKind(e) == kLink) {
            e = litLen[EntryValue(e) + ((m_bits >> used) & ((1u << EntryExtra(e)) - 1))];
            used += EntryBits(e);
        }
        if (used > m_count) {
            finish();
            Fail("Premature End-Of-File");
        }
        m_bits >>= used;
        m_count -= used;
        const Kind kind = EntryKind(e);
        if (kind == kLiteral) {
            out[pos++] = uint8_t(EntryValue(e));
            continue;
        }
        if (kind == kEndBlock) {
            m_state = m_finalBlock ? State::kDone : State::kBlockHeader;
            break;
        }
        if (kind != kLength) {
            finish();
            Fail(kind == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Literal Value");
        }
        unsigned extra = EntryExtra(e);
        if (extra > m_count) {
            finish();
            Fail("Premature End-Of-File");
        }
        const unsigned length = EntryValue(e) + unsigned(m_bits & ((1u << extra) - 1));
        m_bits >>= extra;
        m_count -= extra;

        e = distances[m_bits & ((1u << kDistanceBits) - 1)];
        used = EntryBits(e);
        if (EntryKind(e) == kLink) {
            e = distances[EntryValue(e) + ((m_bits >> used) & ((1u << EntryExtra(e)) - 1))];
            used += EntryBits(e);
        }
        extra = EntryKind(e) == kDistance ? EntryExtra(e) : 0;
        if (used + extra > m_count) {
            finish();
            Fail("Premature End-Of-File");
        }
        if (EntryKind(e) != kDistance) {
            finish();
            Fail(EntryKind(e) == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Distance Value");
        }
        m_bits >>= used;
        m_count -= used;
        const unsigned distance = EntryValue(e) + unsigned(m_bits & ((1u << extra) - 1));
        m_bits >>= extra;
        m_count -= extra;
        if (distance > producedBefore + (pos - start)) {
            finish();
            Fail("Invalid Huffman Distance Value");
        }

        uint8_t* dst = out + pos;
        const uint8_t* src = dst - distance;
        if (distance >= 8) {
            // Word copies; may write up to 7 bytes past the match into the slack.
            for (unsigned i = 0; i < length; i += 8)
                std::memcpy(dst + i, src + i, 8);
        } else if (distance == 1) {
            std::memset(dst, *src, length);
        } else {
            for (unsigned i = 0; i < length; ++i)
                dst[i] = src[i];
        }
        pos += length;
    }
    finish();
}
