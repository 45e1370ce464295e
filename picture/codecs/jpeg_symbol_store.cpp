#include "picture/codecs/jpeg_symbol_store.h"

#include <bit>

#include "picture/codecs/jpeg_fdct_simd.h"
#include "picture/graphics_exceptions.h"

namespace {
// Magnitude category of a value (number of bits of |v|).
inline int Category(int v)
{
    return std::bit_width(static_cast<unsigned>(v < 0 ? -v : v));
}

// The extra bits of a value of category `size`: the value, or for negative values its
// one's complement, cut to `size` bits.
inline uint32_t ExtraBits(int v, int size)
{
    return static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << size) - 1);
}

// Code and length of every symbol of the four tables, the code shifted left past the
// symbol's extra bits and the length counting them: (code << extra) << 8 | flags | length.
// For the AC tables the flags say that the entry ends the block (end-of-block, and the
// end entry after a coded last term, which writes nothing) and that its extra bits are in
// the next entry.
constexpr uint64_t kLengthMask = 0x3F;
constexpr uint64_t kEndsBlock = 0x80;
constexpr uint64_t kExtraFollows = 0x40;

struct SymbolCodes {
    uint64_t entry[4][256];

    explicit SymbolCodes(const JpegHuffmanEncodeTable tables[4])
    {
        for (int t = 0; t < 4; ++t)
            for (int symbol = 0; symbol < 256; ++symbol) {
                const bool ac = t % 2 == 1;
                const int extra = ac ? symbol & 15 : symbol;
                const int length = tables[t].length[size_t(symbol)];
                uint64_t& e = entry[t][symbol];
                e = extra <= 16 && length != 0
                        ? (uint64_t{tables[t].code[size_t(symbol)]} << extra << 8) | uint64_t(length + extra)
                        : 0;
                if (ac && extra > 8)
                    e |= kExtraFollows;
                if (ac && (symbol == JpegSymbolStore::kEndOfBlock >> 8 || symbol == JpegSymbolStore::kLastTermCoded >> 8))
                    e = (symbol == 0 ? e : 0) | kEndsBlock;
            }
    }
};

inline void PutCode(JpegBitWriter::Register& r, uint64_t code, uint32_t extra)
{
    JpegBitWriter::Put(r, static_cast<uint32_t>(code >> 8) | extra, static_cast<int>(code & kLengthMask));
}
} // namespace

uint16_t* JpegSymbolStore::ReserveMcu()
{
    if (m_chunks.empty() || kChunkEntries - m_chunks.back().size < 3 * kPerBlock) {
        Chunk chunk;
        chunk.data.reset(new uint16_t[kChunkEntries]);
        m_chunks.push_back(std::move(chunk));
    }
    return m_chunks.back().data.get() + m_chunks.back().size;
}

uint16_t* JpegCodeBlock(const int16_t coefficients[64], uint64_t nonZero, int& dcPredictor, uint16_t* out,
                        JpegSymbolFrequencies& dcFreq, JpegSymbolFrequencies& acFreq)
{
    // Terms lie within +-2047, so a difference has at most 12 bits and a term 11.
    const int diff = coefficients[0] - dcPredictor;
    dcPredictor = coefficients[0];
    const int dcSize = Category(diff);
    *out++ = static_cast<uint16_t>((dcSize << 12) | ExtraBits(diff, dcSize));
    ++dcFreq[static_cast<size_t>(dcSize)];

    uint64_t ac = nonZero & ~uint64_t{1};
    int last = 0; // position of the previous coded coefficient
    while (ac) {
        const int k = std::countr_zero(ac);
        ac &= ac - 1;
        int run = k - last - 1;
        last = k;
        while (run > 15) {
            *out++ = 0xF000;
            ++acFreq[0xF0];
            run -= 16;
        }
        const int v = coefficients[kJpegFdctZigzagPosition[k]];
        const int size = Category(v);
        const uint32_t symbol = static_cast<uint32_t>((run << 4) | size);
        const uint32_t extra = ExtraBits(v, size);
        if (size <= 8) {
            *out++ = static_cast<uint16_t>((symbol << 8) | extra);
        } else {
            out[0] = static_cast<uint16_t>(symbol << 8);
            out[1] = static_cast<uint16_t>(extra);
            out += 2;
        }
        ++acFreq[symbol];
    }
    if (last < 63) {
        *out++ = JpegSymbolStore::kEndOfBlock;
        ++acFreq[0];
    } else {
        *out++ = JpegSymbolStore::kLastTermCoded;
    }
    return out;
}

void JpegCheckSymbolCodes(const JpegHuffmanEncodeTable tables[4], const JpegSymbolFrequencies counts[4])
{
    for (int t = 0; t < 4; ++t)
        for (int symbol = 0; symbol < 256; ++symbol)
            if (counts[t][size_t(symbol)] > 0 && tables[t].length[size_t(symbol)] == 0)
                throw EJpegFatal("INTERNAL ERROR - Missing Huffman Code");
}

void JpegWriteSymbols(const JpegSymbolStore& store, const JpegHuffmanEncodeTable tables[4], JpegBitWriter& bits,
                      const std::function<void(const uint8_t*, size_t)>& drain)
{
    const auto codes = std::make_unique<SymbolCodes>(tables);

    JpegBitWriter::Register r = bits.Begin();
    const uint8_t* const limit = bits.Data() + JpegBitWriter::kChunk;
    for (const JpegSymbolStore::Chunk& chunk : store.Chunks()) {
        const uint16_t* p = chunk.data.get();
        const uint16_t* const end = p + chunk.size;
        int component = 0;
        while (p != end) {
            const uint64_t* const dc = codes->entry[component == 0 ? 0 : 2];
            const uint64_t* const ac = codes->entry[component == 0 ? 1 : 3];
            component = component == 2 ? 0 : component + 1;

            const uint32_t dcEntry = *p++;
            PutCode(r, dc[dcEntry >> 12], dcEntry & 0x0FFF);
            for (;;) {
                const uint32_t entry = *p++;
                const uint64_t code = ac[entry >> 8];
                uint32_t extra = entry & 0xFF;
                if (code & kExtraFollows)
                    extra = *p++;
                PutCode(r, code, extra);
                if (code & kEndsBlock)
                    break;
            }
            if (r.out >= limit) {
                bits.End(r);
                drain(bits.Data(), bits.Size());
                bits.Clear();
                r = bits.Begin();
            }
        }
    }
    bits.End(r);
}
