#include "picture/codecs/jpeg_encoder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "base/cpu_features.h"
#include "base/progress.h"
#include "picture/codecs/jpeg_bit_writer.h"
#include "picture/codecs/jpeg_colour_convert.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_fdct_simd.h"
#include "picture/codecs/jpeg_huffman.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace {
constexpr char kComment[] = "Created using Ostrel IMKO";

// One coded symbol of the first pass, kept for the second: the table it belongs to (bits
// 24-25), the Huffman symbol (16-23) and the extra bits that follow it, already cut to
// their count (the symbol's size). Bits 16-25 index the second pass's code table.
enum SymbolTable : uint32_t { kLumaDc = 0, kLumaAc = 1, kChromaDc = 2, kChromaAc = 3 };
inline uint32_t PackSymbol(uint32_t table, uint32_t symbol, uint32_t bits)
{
    return (table << 24) | (symbol << 16) | bits;
}

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

class ByteSink {
public:
    void Byte(uint8_t b) { m_bytes.push_back(b); }
    void U16(unsigned v)
    {
        Byte(static_cast<uint8_t>(v >> 8));
        Byte(static_cast<uint8_t>(v));
    }
    void Bytes(const void* data, size_t n)
    {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + n);
    }
    void Marker(uint8_t code)
    {
        Byte(0xFF);
        Byte(code);
    }
    std::vector<uint8_t>& Data() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// The first pass's symbols, in chunks that are never moved: a block is coded straight into
// room reserved before it, without a capacity check per symbol.
class SymbolStore {
public:
    // Most symbols one block can produce: DC, 63 AC terms, 3 runs of 16 zeros, end of block.
    static constexpr size_t kPerBlock = 68;
    static constexpr size_t kChunkEntries = size_t(1) << 20;

    struct Chunk {
        std::unique_ptr<uint32_t[]> data;
        size_t size = 0;
    };

    // Room for `blocks` more blocks; returns where to write.
    uint32_t* Reserve(size_t blocks)
    {
        if (m_chunks.empty() || kChunkEntries - m_chunks.back().size < blocks * kPerBlock) {
            Chunk chunk;
            chunk.data.reset(new uint32_t[std::max(kChunkEntries, blocks * kPerBlock)]);
            m_chunks.push_back(std::move(chunk));
        }
        return m_chunks.back().data.get() + m_chunks.back().size;
    }
    void Commit(const uint32_t* end) { m_chunks.back().size = static_cast<size_t>(end - m_chunks.back().data.get()); }
    const std::vector<Chunk>& Chunks() const { return m_chunks; }

private:
    std::vector<Chunk> m_chunks;
};

// Quantised block (in the transform's order, with its zigzag non-zero mask) -> symbols
// (T.81 F.1.2) at `out`, counted into the frequency tables; returns the end of the symbols.
uint32_t* CodeBlock(const int16_t coefficients[64], uint64_t nonZero, int& dcPredictor, uint32_t dcTable, uint32_t* out,
                    JpegSymbolFrequencies& dcFreq, JpegSymbolFrequencies& acFreq)
{
    const int diff = coefficients[0] - dcPredictor;
    dcPredictor = coefficients[0];
    const int dcSize = Category(diff);
    *out++ = PackSymbol(dcTable, static_cast<uint32_t>(dcSize), ExtraBits(diff, dcSize));
    ++dcFreq[static_cast<size_t>(dcSize)];

    const uint32_t acTable = dcTable + 1;
    uint64_t ac = nonZero & ~uint64_t{1};
    int last = 0; // position of the previous coded coefficient
    while (ac) {
        const int k = std::countr_zero(ac);
        ac &= ac - 1;
        int run = k - last - 1;
        last = k;
        while (run > 15) {
            *out++ = PackSymbol(acTable, 0xF0, 0);
            ++acFreq[0xF0];
            run -= 16;
        }
        const int v = coefficients[kJpegFdctZigzagPosition[k]];
        const int size = Category(v);
        const uint32_t symbol = static_cast<uint32_t>((run << 4) | size);
        *out++ = PackSymbol(acTable, symbol, ExtraBits(v, size));
        ++acFreq[symbol];
    }
    if (last < 63) {
        *out++ = PackSymbol(acTable, 0x00, 0);
        ++acFreq[0];
    }
    return out;
}

// Code and length of every symbol of the four tables, indexed like a packed symbol's bits
// 16-25: the code shifted left past the symbol's extra bits, above 8 bits of the total
// length, so that a symbol is written with one look-up and one Put. Length 0: no code.
struct SymbolCodes {
    uint64_t entry[4 * 256];

    explicit SymbolCodes(const JpegHuffmanEncodeTable tables[4])
    {
        for (int t = 0; t < 4; ++t)
            for (int symbol = 0; symbol < 256; ++symbol) {
                const int extra = t % 2 == 0 ? symbol : symbol & 15;
                const int codeLength = tables[t].length[size_t(symbol)];
                const bool usable = codeLength != 0 && extra <= 16;
                entry[t * 256 + symbol] =
                    usable ? (uint64_t{tables[t].code[size_t(symbol)]} << extra << 8) | uint64_t(codeLength + extra) : 0;
            }
    }
};

void WriteHeaders(ByteSink& out, const CPicture& picture, const std::array<uint8_t, 64> tables[2])
{
    out.Marker(kJpegSoi);

    out.Marker(kJpegApp0);
    out.U16(16);
    out.Bytes("JFIF", 5);
    out.Byte(1); // version 1.1
    out.Byte(1);
    out.Byte(0); // no units
    out.U16(1);
    out.U16(1);
    out.Byte(0); // no thumbnail
    out.Byte(0);

    out.Marker(kJpegCom);
    out.U16(static_cast<unsigned>(sizeof kComment - 1 + 3));
    out.Bytes(kComment, sizeof kComment); // with its terminating zero

    out.Marker(kJpegSof0);
    out.U16(17);
    out.Byte(8);
    out.U16(static_cast<unsigned>(picture.Height()));
    out.U16(static_cast<unsigned>(picture.Width()));
    out.Byte(3);
    for (int id = 1; id <= 3; ++id) {
        out.Byte(static_cast<uint8_t>(id));
        out.Byte(0x11);
        out.Byte(id == 1 ? 0 : 1);
    }

    out.Marker(kJpegDqt);
    out.U16(132);
    for (int t = 0; t < 2; ++t) {
        out.Byte(static_cast<uint8_t>(t));
        for (int k = 0; k < 64; ++k)
            out.Byte(tables[t][kJpegZigzagToNatural[k]]);
    }
}

void WriteHuffmanTables(ByteSink& out, const JpegHuffmanEncodeTable tables[4])
{
    static const uint8_t kClassAndIndex[4] = {0x00, 0x10, 0x01, 0x11};
    unsigned length = 2;
    for (int t = 0; t < 4; ++t)
        length += 17 + static_cast<unsigned>(tables[t].valueCount);
    out.Marker(kJpegDht);
    out.U16(length);
    for (int t = 0; t < 4; ++t) {
        out.Byte(kClassAndIndex[t]);
        out.Bytes(tables[t].counts, 16);
        out.Bytes(tables[t].values, static_cast<size_t>(tables[t].valueCount));
    }
}

void WriteScanHeader(ByteSink& out)
{
    out.Marker(kJpegSos);
    out.U16(12);
    out.Byte(3);
    for (int id = 1; id <= 3; ++id) {
        out.Byte(static_cast<uint8_t>(id));
        out.Byte(id == 1 ? 0x00 : 0x11);
    }
    out.Byte(0);
    out.Byte(63);
    out.Byte(0);
}

void CheckProgress(CQnProgress& progress, int64_t position)
{
    if (!progress.SetPos(position))
        throw EJpegAbort("Cancelled");
}
} // namespace

std::array<uint8_t, 64> JpegScaledQuantTable(const uint8_t reference[64], int quality)
{
    if (quality < 1 || quality > 100)
        throw EJpegValueOutOfRange("Quality out of range");
    const double factor = std::pow(2.0, (300 - 6 * quality) / 50.0);
    std::array<uint8_t, 64> table{};
    for (int k = 0; k < 64; ++k) {
        const int v = static_cast<int>(factor * reference[k]);
        table[size_t(k)] = static_cast<uint8_t>(v < 1 ? 1 : v > 255 ? 255 : v);
    }
    return table;
}

void JpegEncodePicture(const CPicture& picture, int quality, CGraphicsStream& stream, CQnProgress& progress)
{
    const std::array<uint8_t, 64> tables[2] = {JpegScaledQuantTable(kJpegLuminanceQuantization, quality),
                                               JpegScaledQuantTable(kJpegChrominanceQuantization, quality)};
    const JpegQuantDivisors divisors[2] = {JpegMakeQuantDivisors(tables[0].data()),
                                           JpegMakeQuantDivisors(tables[1].data())};
    const JpegFdctQuantizeFunction transform = JpegSelectForwardDctQuantize();
#if defined(__SSE2__)
    const bool avx2 = UseAvx2();
#endif

    // First pass: transform and quantise every block once, keeping its symbols and counting
    // their frequencies.
    const int width = picture.Width(), height = picture.Height();
    const int blockCols = (width + 7) / 8;
    const int blockRows = (height + 7) / 8;
    SymbolStore symbols;
    JpegSymbolFrequencies freq[4] = {};
    int predictors[3] = {0, 0, 0};
    alignas(32) float blocks[3][64];
    alignas(16) int16_t coef[64];
    for (int row = 0; row < blockRows; ++row) {
        if (row % 8 == 0)
            CheckProgress(progress, int64_t(90) * row / blockRows);
        // Rows past the bottom repeat the last one.
        const uint8_t* rows[8];
        for (int r = 0; r < 8; ++r)
            rows[r] = picture.Row(std::min(row * 8 + r, height - 1));
        for (int col = 0; col < blockCols; ++col) {
            const int x = col * 8;
#if defined(__SSE2__)
            if (avx2 && x + 8 <= width)
                JpegConvertBlockAvx2(rows, x, blocks);
            else
#endif
                JpegConvertBlock(rows, x, width, blocks);
            uint32_t* out = symbols.Reserve(3);
            for (int c = 0; c < 3; ++c) {
                const int t = c == 0 ? 0 : 1;
                const uint64_t nonZero = transform(blocks[c], 8, divisors[t], coef);
                out = CodeBlock(coef, nonZero, predictors[c], t == 0 ? kLumaDc : kChromaDc, out, freq[t * 2],
                                freq[t * 2 + 1]);
            }
            symbols.Commit(out);
        }
    }

    // Tables from the counts, then the second pass writes the scan.
    JpegHuffmanEncodeTable huffman[4];
    for (int t = 0; t < 4; ++t)
        huffman[t] = JpegOptimalHuffmanTable(freq[t]);
    CheckProgress(progress, 90);

    ByteSink out;
    WriteHeaders(out, picture, tables);
    WriteHuffmanTables(out, huffman);
    WriteScanHeader(out);
    const auto write = [&stream](const uint8_t* data, size_t size) {
        if (!stream.Write(data, size))
            throw EJpegError("Cannot write the file");
    };
    write(out.Data().data(), out.Data().size());

    const auto codes = std::make_unique<SymbolCodes>(huffman);
    const uint64_t* const codeOf = codes->entry;
    JpegBitWriter bits;
    const auto code = [codeOf](uint32_t symbol, uint32_t& value, int& length) {
        const uint64_t entry = codeOf[symbol >> 16];
        length = static_cast<int>(entry & 0xFF);
        if (length == 0)
            throw EJpegFatal("INTERNAL ERROR - Missing Huffman Code");
        value = static_cast<uint32_t>(entry >> 8) | (symbol & 0xFFFF);
    };
    for (const SymbolStore::Chunk& chunk : symbols.Chunks())
        bits.PutAll(chunk.data.get(), chunk.data.get() + chunk.size, code, write);
    bits.Flush();
    CheckProgress(progress, 100);
    const uint8_t eoi[2] = {0xFF, kJpegEoi};
    write(bits.Data(), bits.Size());
    write(eoi, 2);
}
