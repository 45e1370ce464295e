// The JPEG writer as it was before its vector paths, one block at a time through the plain
// transform: the faster writer must produce exactly these bytes.
#include "jpeg_encoder_reference.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_encoder.h"
#include "picture/codecs/jpeg_huffman.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

namespace {
constexpr char kComment[] = "Created using Ostrel IMKO";

// One coded symbol of the first pass, kept for the second: the table it belongs to, the
// Huffman symbol and the extra bits that follow it (their count is the symbol's size).
enum SymbolTable : uint32_t { kLumaDc = 0, kLumaAc = 1, kChromaDc = 2, kChromaAc = 3 };
inline uint32_t PackSymbol(uint32_t table, uint32_t symbol, uint32_t bits)
{
    return (table << 24) | (symbol << 16) | (bits & 0xFFFF);
}

// Magnitude category of a value (number of bits of |v|).
inline int Category(int v)
{
    return std::bit_width(static_cast<unsigned>(v < 0 ? -v : v));
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

// Entropy-coded output: bits most significant first, 0xFF followed by a stuffed 0x00.
class BitSink {
public:
    explicit BitSink(std::vector<uint8_t>& out) : m_out(out) {}
    // Appends `length` (0..32) bits.
    void Put(uint32_t code, int length)
    {
        m_acc = (m_acc << length) | (code & static_cast<uint32_t>((uint64_t{1} << length) - 1));
        m_count += length;
        if (m_count >= 32) {
            m_count -= 32;
            const uint32_t word = static_cast<uint32_t>(m_acc >> m_count);
            if ((word & 0x80808080u & ~(word + 0x01010101u)) == 0 && (word & 0xFFu) != 0xFFu &&
                (word & 0xFF00u) != 0xFF00u && (word & 0xFF0000u) != 0xFF0000u && (word >> 24) != 0xFFu) {
                const uint8_t bytes[4] = {uint8_t(word >> 24), uint8_t(word >> 16), uint8_t(word >> 8), uint8_t(word)};
                m_out.insert(m_out.end(), bytes, bytes + 4);
            } else {
                for (int shift = 24; shift >= 0; shift -= 8)
                    PutByte(static_cast<uint8_t>(word >> shift));
            }
        }
    }
    // Pads the last byte with one bits and writes what is left.
    void Flush()
    {
        if (m_count % 8)
            Put(0x7F, 8 - m_count % 8);
        while (m_count >= 8) {
            m_count -= 8;
            PutByte(static_cast<uint8_t>(m_acc >> m_count));
        }
    }

private:
    void PutByte(uint8_t b)
    {
        m_out.push_back(b);
        if (b == 0xFF)
            m_out.push_back(0);
    }

    std::vector<uint8_t>& m_out;
    uint64_t m_acc = 0;
    int m_count = 0;
};

// Converts the eight picture rows of block row `blockRow` to level-shifted planes
// (width padded to whole blocks); edge pixels are repeated into the partial blocks.
void ConvertBlockRow(const CPicture& picture, int blockRow, int paddedWidth, std::vector<float> planes[3])
{
    const int width = picture.Width(), height = picture.Height();
    for (int r = 0; r < 8; ++r) {
        const int y = std::min(blockRow * 8 + r, height - 1);
        const uint8_t* in = picture.Row(y);
        float* yp = planes[0].data() + size_t(r) * paddedWidth;
        float* cbp = planes[1].data() + size_t(r) * paddedWidth;
        float* crp = planes[2].data() + size_t(r) * paddedWidth;
        for (int x = 0; x < paddedWidth; ++x) {
            const uint8_t* px = in + 3 * std::min(x, width - 1);
            const int b = px[0], g = px[1], rd = px[2];
            const int luma = std::min(255, (1224 * rd + 2404 * g + 466 * b + 2048) >> 12);
            const int cb = std::min(255, (2048 * b - 1357 * g - 690 * rd + 526336) >> 12);
            const int cr = std::min(255, (2048 * rd - 1714 * g - 333 * b + 526336) >> 12);
            yp[x] = static_cast<float>(luma - 128);
            cbp[x] = static_cast<float>(cb - 128);
            crp[x] = static_cast<float>(cr - 128);
        }
    }
}

// Quantised block (zigzag order, with its non-zero mask) -> symbols (T.81 F.1.2), counted
// into the frequency tables.
void CodeBlock(const int16_t zigzag[64], uint64_t nonZero, int& dcPredictor, uint32_t dcTable,
               std::vector<uint32_t>& symbols, JpegSymbolFrequencies& dcFreq, JpegSymbolFrequencies& acFreq)
{
    const int diff = zigzag[0] - dcPredictor;
    dcPredictor = zigzag[0];
    const int dcSize = Category(diff);
    symbols.push_back(PackSymbol(dcTable, static_cast<uint32_t>(dcSize), static_cast<uint32_t>(diff < 0 ? diff - 1 : diff)));
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
            symbols.push_back(PackSymbol(acTable, 0xF0, 0));
            ++acFreq[0xF0];
            run -= 16;
        }
        const int v = zigzag[k];
        const int size = Category(v);
        const uint32_t symbol = static_cast<uint32_t>((run << 4) | size);
        symbols.push_back(PackSymbol(acTable, symbol, static_cast<uint32_t>(v < 0 ? v - 1 : v)));
        ++acFreq[symbol];
    }
    if (last < 63) {
        symbols.push_back(PackSymbol(acTable, 0x00, 0));
        ++acFreq[0];
    }
}

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

} // namespace

std::vector<uint8_t> ReferenceJpegEncode(const CPicture& picture, int quality)
{
    const std::array<uint8_t, 64> tables[2] = {JpegScaledQuantTable(kJpegLuminanceQuantization, quality),
                                               JpegScaledQuantTable(kJpegChrominanceQuantization, quality)};
    const JpegQuantDivisors divisors[2] = {JpegMakeQuantDivisors(tables[0].data()),
                                           JpegMakeQuantDivisors(tables[1].data())};

    // First pass: transform and quantise every block once, keeping its symbols and counting
    // their frequencies.
    const int blockCols = (picture.Width() + 7) / 8;
    const int blockRows = (picture.Height() + 7) / 8;
    const int paddedWidth = blockCols * 8;
    std::vector<float> planes[3];
    for (auto& plane : planes)
        plane.resize(size_t(paddedWidth) * 8);
    std::vector<uint32_t> symbols;
    symbols.reserve(size_t(blockCols) * size_t(blockRows) * 3 * 8);
    JpegSymbolFrequencies freq[4] = {};
    int predictors[3] = {0, 0, 0};
    alignas(16) float samples[64];
    int16_t coef[64];
    for (int row = 0; row < blockRows; ++row) {
        ConvertBlockRow(picture, row, paddedWidth, planes);
        for (int col = 0; col < blockCols; ++col) {
            for (int c = 0; c < 3; ++c) {
                const float* src = planes[c].data() + size_t(col) * 8;
                for (int r = 0; r < 8; ++r)
                    std::memcpy(samples + r * 8, src + size_t(r) * paddedWidth, 8 * sizeof(float));
                const int t = c == 0 ? 0 : 1;
                const uint64_t nonZero = JpegForwardDctQuantize(samples, divisors[t], coef);
                CodeBlock(coef, nonZero, predictors[c], t == 0 ? kLumaDc : kChromaDc, symbols, freq[t * 2],
                          freq[t * 2 + 1]);
            }
        }
    }

    // Tables from the counts, then the second pass writes the scan.
    JpegHuffmanEncodeTable huffman[4];
    for (int t = 0; t < 4; ++t)
        huffman[t] = JpegOptimalHuffmanTable(freq[t]);

    ByteSink out;
    out.Data().reserve(symbols.size() + 1024);
    WriteHeaders(out, picture, tables);
    WriteHuffmanTables(out, huffman);
    WriteScanHeader(out);
    BitSink bits(out.Data());
    for (const uint32_t entry : symbols) {
        const JpegHuffmanEncodeTable& table = huffman[entry >> 24];
        const unsigned symbol = (entry >> 16) & 0xFF;
        const int length = table.length[symbol];
        if (length == 0)
            throw EJpegFatal("INTERNAL ERROR - Missing Huffman Code");
        const int extra = (entry >> 24) % 2 == 0 ? static_cast<int>(symbol) : static_cast<int>(symbol & 15);
        const uint32_t value = entry & ((1u << extra) - 1);
        bits.Put((uint32_t{table.code[symbol]} << extra) | value, length + extra);
    }
    bits.Flush();
    out.Marker(kJpegEoi);

    return out.Data();
}
