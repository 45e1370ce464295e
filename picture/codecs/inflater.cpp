#include "picture/codecs/inflater.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/cpu_features.h"
#include "picture/codecs/checksums.h"
#include "picture/codecs/deflate_tables.h"
#include "picture/graphics_exceptions.h"

static_assert(std::endian::native == std::endian::little, "the bit reader loads words little-endian");

namespace {
using namespace deflate;

constexpr size_t kHistory = kWindowSize;
constexpr size_t kChunk = 1 << 18;     // output decoded between two slides of the history
constexpr size_t kCopySlack = 32;      // match copies may write this far past a match
constexpr unsigned kLitLenBits = 10;   // bits resolved by the first table lookup
constexpr unsigned kDistanceBits = 8;
constexpr unsigned kCodeLengthBits = 7;
// The fast loop refills twice per symbol at most, each time taking up to 7 bytes with an
// 8-byte load, so it runs while this much input remains in the current piece.
constexpr ptrdiff_t kFastInput = 16;

// A decoding table entry. Bits 0-7: bits to consume, which for a length or distance include
// its extra bits, so that one shift skips both; bits 8-11: the code's own length (where the
// extra bits start), or a subtable's index bits for a link; bits 12-15: the kind flags;
// bits 16-31: the value (literal, base length or distance, subtable offset, special value).
constexpr uint32_t kLiteral = 1u << 12;  // also the code-length alphabet's symbols
constexpr uint32_t kBase = 1u << 13;     // a length or distance: value plus extra bits
constexpr uint32_t kLink = 1u << 14;     // look up the subtable for the code's further bits
constexpr uint32_t kSpecial = 1u << 15;  // end of block, no code, or a value out of range
enum SpecialValue : uint32_t { kEndBlock, kNoCode, kBadValue };

constexpr uint32_t Entry(uint32_t flags, uint32_t codeBits, uint32_t extra, uint32_t value)
{
    return (codeBits + extra) | codeBits << 8 | flags | value << 16;
}
constexpr unsigned EntryTotal(uint32_t e) { return e & 0xFF; }
constexpr unsigned EntryCodeBits(uint32_t e) { return (e >> 8) & 15; }
constexpr unsigned EntryExtra(uint32_t e) { return EntryTotal(e) - EntryCodeBits(e); }
constexpr unsigned EntryValue(uint32_t e) { return e >> 16; }

// The value of an entry whose bits were `saved` before it was consumed: the base plus the
// extra bits that follow the code.
inline unsigned BasePlusExtra(uint32_t e, uint64_t saved)
{
    return EntryValue(e) + unsigned((saved & ~(~uint64_t(0) << EntryTotal(e))) >> EntryCodeBits(e));
}

enum class Alphabet { kLitLen, kDistance, kCodeLength };

uint32_t SymbolEntry(Alphabet alphabet, unsigned symbol, unsigned bits)
{
    switch (alphabet) {
    case Alphabet::kLitLen:
        if (symbol < 256) return Entry(kLiteral, bits, 0, symbol);
        if (symbol == 256) return Entry(kSpecial, bits, 0, kEndBlock);
        if (symbol <= 285) return Entry(kBase, bits, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
        return Entry(kSpecial, bits, 0, kBadValue);
    case Alphabet::kDistance:
        if (symbol < 30) return Entry(kBase, bits, kDistanceExtra[symbol], kDistanceBase[symbol]);
        return Entry(kSpecial, bits, 0, kBadValue);
    case Alphabet::kCodeLength:
        break;
    }
    return Entry(kLiteral, bits, 0, symbol);
}

// The low `length` bits of code in reverse order (length 1..15).
unsigned ReverseBits(unsigned code, unsigned length)
{
    code = ((code & 0x5555) << 1) | ((code >> 1) & 0x5555);
    code = ((code & 0x3333) << 2) | ((code >> 2) & 0x3333);
    code = ((code & 0x0F0F) << 4) | ((code >> 4) & 0x0F0F);
    code = ((code & 0x00FF) << 8) | ((code >> 8) & 0x00FF);
    return code >> (16 - length);
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
    table.assign(size_t(1) << primaryBits, Entry(kSpecial, primaryBits, 0, kNoCode));

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
        if (!(table[prefix] & kLink)) {
            const size_t offset = table.size();
            table[prefix] = Entry(kLink, 0, primaryBits, uint32_t(offset)) | subBits << 8;
            table.resize(offset + (size_t(1) << subBits), Entry(kSpecial, subBits, 0, kNoCode));
        }
        const size_t offset = EntryValue(table[prefix]);
        const unsigned rest = len - primaryBits;
        const uint32_t e = SymbolEntry(alphabet, s, rest);
        for (unsigned i = reversed >> primaryBits; i < (1u << subBits); i += 1u << rest)
            table[offset + i] = e;
    }
}

// A link entry consumes the primary bits; its subtable is indexed by the next bits.
inline uint32_t FollowLink(const uint32_t* table, uint32_t link, uint64_t bits)
{
    return table[EntryValue(link) + unsigned(bits & ((1u << EntryCodeBits(link)) - 1))];
}

uint64_t LoadWord(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
} // namespace

CInflater::CInflater(CInflateSource& source) : m_source(source), m_out(kHistory + kChunk + kCopySlack) {}

void CInflater::Fail(const char* message) { throw EPngError(message); }

bool CInflater::NextPiece()
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
inline void CInflater::Refill()
{
    if (m_inEnd - m_in >= 8) {
        m_bits |= LoadWord(m_in) << m_count;
        m_in += (63 - m_count) >> 3;
        m_count |= 56;
    } else {
        RefillSlow();
    }
}

void CInflater::RefillSlow()
{
    while (m_count <= 56) {
        if (m_in == m_inEnd && !NextPiece())
            return;
        m_bits |= uint64_t(*m_in++) << m_count;
        m_count += 8;
    }
}

unsigned CInflater::TakeBits(unsigned n)
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

void CInflater::Read(uint8_t* dst, size_t n)
{
    if (ReadSome(dst, n) != n)
        Fail("Premature End-Of-File");
}

size_t CInflater::ReadSome(uint8_t* dst, size_t n)
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
        m_adler = UpdateAdler32(m_adler, dst + done, take);
        m_readPos += take;
        done += take;
    }
    return done;
}

void CInflater::ExpectEnd()
{
    while (m_readPos == m_outPos && m_state != State::kDone)
        Decode();
    if (m_readPos != m_outPos)
        Fail("Missing End Marker");
}

bool CInflater::ReadTrailerByte(uint8_t& byte)
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
void CInflater::MakeRoom()
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
void CInflater::Decode()
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

void CInflater::ReadBlockHeader()
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

void CInflater::UseFixedTables()
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

void CInflater::ReadDynamicTables()
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
        if (EntryTotal(e) > m_count)
            Fail("Premature End-Of-File");
        if (!(e & kLiteral))
            Fail("Bad Code");
        m_bits >>= EntryTotal(e);
        m_count -= EntryTotal(e);
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

void CInflater::DecodeStored()
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

// One symbol with every check, for the ends of the input pieces: the bits may run out here.
// Returns false at the end of the block.
bool CInflater::DecodeSymbolCarefully(uint8_t* out, size_t& pos, uint64_t producedBefore)
{
    const uint32_t* litLen = m_litLenTable.data();
    const uint32_t* distances = m_distanceTable.data();
    Refill();
    uint32_t e = litLen[m_bits & ((1u << kLitLenBits) - 1)];
    unsigned used = 0;
    if (e & kLink) {
        used = EntryTotal(e);
        e = FollowLink(litLen, e, m_bits >> used);
    }
    used += (e & kBase) ? EntryCodeBits(e) : EntryTotal(e);
    if (used > m_count)
        Fail("Premature End-Of-File");
    if (e & kLiteral) {
        m_bits >>= used;
        m_count -= used;
        out[pos++] = uint8_t(EntryValue(e));
        return true;
    }
    if (e & kSpecial) {
        if (EntryValue(e) == kEndBlock) {
            m_bits >>= used;
            m_count -= used;
            m_state = m_finalBlock ? State::kDone : State::kBlockHeader;
            return false;
        }
        Fail(EntryValue(e) == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Literal Value");
    }
    used += EntryExtra(e);
    if (used > m_count)
        Fail("Premature End-Of-File");
    const unsigned length = BasePlusExtra(e, m_bits >> (used - EntryTotal(e)));
    m_bits >>= used;
    m_count -= used;

    e = distances[m_bits & ((1u << kDistanceBits) - 1)];
    used = 0;
    if (e & kLink) {
        used = EntryTotal(e);
        e = FollowLink(distances, e, m_bits >> used);
    }
    used += EntryTotal(e);
    if (used > m_count)
        Fail("Premature End-Of-File");
    if (!(e & kBase))
        Fail(EntryValue(e) == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Distance Value");
    const unsigned distance = BasePlusExtra(e, m_bits >> (used - EntryTotal(e)));
    m_bits >>= used;
    m_count -= used;
    if (distance > producedBefore + pos)
        Fail("Invalid Huffman Distance Value");
    CopyMatch(out + pos, distance, length);
    pos += length;
    return true;
}

// Copies a match forwards, overlapping its source when the distance is short. Writes up to
// kCopySlack bytes past the match.
inline void CInflater::CopyMatch(uint8_t* dst, unsigned distance, unsigned length)
{
    const uint8_t* src = dst - distance;
    if (distance >= 16) {
        std::memcpy(dst, src, 16);
        for (unsigned i = 16; i < length; i += 16)
            std::memcpy(dst + i, src + i, 16);
    } else if (distance >= 8) {
        for (unsigned i = 0; i < length; i += 8)
            std::memcpy(dst + i, src + i, 8);
    } else if (distance == 1) {
        const uint64_t pattern = *src * 0x0101010101010101ull;
        for (unsigned i = 0; i < length; i += 8)
            std::memcpy(dst + i, &pattern, 8);
    } else {
        // Bytes one by one until the pattern has repeated far enough for word copies.
        unsigned i = 0;
        for (; i < length && i < 8; ++i)
            dst[i] = src[i];
        const unsigned period = distance * (8 / distance + (8 % distance != 0));
        for (; i < length; i += 8)
            std::memcpy(dst + i, dst + i - period, 8);
    }
}

// The hot loop runs while the current piece holds kFastInput bytes: a refill then always
// leaves at least 56 bits, enough for three literals or for a length, a distance and their
// extra bits (at most 48 bits), so no bit count is checked. Returns true at the end of the
// block, false when the input piece or the output room runs short.
__attribute__((always_inline)) inline bool CInflater::DecodeFast(uint8_t* out, size_t& outPos, uint64_t producedBefore)
{
    // A local position: stores of output bytes may alias anything a reference points to.
    size_t pos = outPos;
    const uint32_t* litLen = m_litLenTable.data();
    const uint32_t* distances = m_distanceTable.data();
    constexpr size_t kLimit = kHistory + kChunk - kMaxMatch;
    constexpr uint64_t kLitLenMask = (1u << kLitLenBits) - 1, kDistanceMask = (1u << kDistanceBits) - 1;
    uint64_t bits = m_bits;
    unsigned count = m_count;
    const uint8_t* in = m_in;
    const uint8_t* const inEnd = m_inEnd;
    auto refill = [&] {
        bits |= LoadWord(in) << count;
        in += (63 - count) >> 3;
        count |= 56;
    };
    auto consume = [&](unsigned n) {
        bits >>= n;
        count -= n;
    };
    auto save = [&] {
        m_bits = bits;
        m_count = count;
        m_in = in;
        m_outPos = outPos = pos;
        m_produced = producedBefore + pos;
    };

    while (inEnd - in >= kFastInput && pos <= kLimit) {
        refill();
        uint32_t e = litLen[bits & kLitLenMask];
        if (e & kLiteral) {
            consume(EntryTotal(e));
            out[pos++] = uint8_t(EntryValue(e));
            e = litLen[bits & kLitLenMask];
            if (e & kLiteral) {
                consume(EntryTotal(e));
                out[pos++] = uint8_t(EntryValue(e));
                e = litLen[bits & kLitLenMask];
                if (e & kLiteral) {
                    consume(EntryTotal(e));
                    out[pos++] = uint8_t(EntryValue(e));
                    continue;
                }
            }
            refill();
        }
        if (e & kLink) {
            consume(EntryTotal(e));
            e = FollowLink(litLen, e, bits);
            if (e & kLiteral) {
                consume(EntryTotal(e));
                out[pos++] = uint8_t(EntryValue(e));
                continue;
            }
        }
        if (!(e & kBase)) {
            consume(EntryTotal(e));
            save();
            if (EntryValue(e) == kEndBlock) {
                m_state = m_finalBlock ? State::kDone : State::kBlockHeader;
                return true;
            }
            Fail(EntryValue(e) == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Literal Value");
        }
        uint64_t saved = bits;
        consume(EntryTotal(e));
        const unsigned length = BasePlusExtra(e, saved);

        e = distances[bits & kDistanceMask];
        if (e & kLink) {
            consume(EntryTotal(e));
            e = FollowLink(distances, e, bits);
        }
        if (!(e & kBase)) {
            save();
            Fail(EntryValue(e) == kNoCode ? "Bad Huffman Code Length" : "Invalid Huffman Distance Value");
        }
        saved = bits;
        consume(EntryTotal(e));
        const unsigned distance = BasePlusExtra(e, saved);
        if (distance > producedBefore + pos) {
            save();
            Fail("Invalid Huffman Distance Value");
        }
        CopyMatch(out + pos, distance, length);
        pos += length;
    }
    save();
    return false;
}

bool CInflater::DecodeFastPlain(uint8_t* out, size_t& pos, uint64_t producedBefore)
{
    return DecodeFast(out, pos, producedBefore);
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same loop where the processor has BMI2: its shifts by a variable count and bit-field
// extraction take one step each, which shortens the chain from one symbol to the next.
__attribute__((target("bmi2"))) bool CInflater::DecodeFastBmi2(uint8_t* out, size_t& pos, uint64_t producedBefore)
{
    return DecodeFast(out, pos, producedBefore);
}

bool CInflater::HasBmi2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("bmi2") != 0;
    }();
    return has;
}
#else
bool CInflater::DecodeFastBmi2(uint8_t* out, size_t& pos, uint64_t producedBefore)
{
    return DecodeFast(out, pos, producedBefore);
}

bool CInflater::HasBmi2() { return false; }
#endif

// Near a piece's end each symbol goes through DecodeSymbolCarefully.
void CInflater::DecodeHuffman()
{
    uint8_t* const out = m_out.data();
    const size_t limit = kHistory + kChunk - kMaxMatch;
    size_t pos = m_outPos;
    // out[0] holds stream byte m_produced - m_outPos: a distance may reach back that far.
    const uint64_t producedBefore = m_produced - m_outPos;
    // The BMI2 loop belongs to the AVX2 level, so that a lower forced level runs the plain one.
    const bool bmi2 = UseAvx2() && HasBmi2();

    for (;;) {
        const bool ended =
            bmi2 ? DecodeFastBmi2(out, pos, producedBefore) : DecodeFastPlain(out, pos, producedBefore);
        if (ended || pos > limit)
            return;
        bool more = false;
        try {
            more = DecodeSymbolCarefully(out, pos, producedBefore);
        } catch (...) {
            m_outPos = pos;
            m_produced = producedBefore + pos;
            throw;
        }
        m_outPos = pos;
        m_produced = producedBefore + pos;
        if (!more)
            return;
    }
}
