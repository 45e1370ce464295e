#include "picture/codecs/jpeg_encoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/cpu_features.h"
#include "base/progress.h"
#include "picture/codecs/jpeg_bit_writer.h"
#include "picture/codecs/jpeg_colour_convert.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_fdct_simd.h"
#include "picture/codecs/jpeg_huffman.h"
#include "picture/codecs/jpeg_symbol_store.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace {
constexpr char kComment[] = "Created using Ostrel IMKO";

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
    const bool avx2 = UseAvx2(), sse2 = UseSse2();
#endif

    // First pass: transform and quantise every block once, keeping its symbols and counting
    // their frequencies.
    const int width = picture.Width(), height = picture.Height();
    const int blockCols = (width + 7) / 8;
    const int blockRows = (height + 7) / 8;
    JpegSymbolStore symbols;
    JpegSymbolFrequencies freq[4] = {};
    int predictors[3] = {0, 0, 0};
    alignas(16) float blocks[3][64]; // the vector forms read and write it unaligned
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
            else if (sse2 && x + 8 <= width)
                JpegConvertBlockSse2(rows, x, blocks);
            else
#endif
                JpegConvertBlock(rows, x, width, blocks);
            uint16_t* out = symbols.ReserveMcu();
            for (int c = 0; c < 3; ++c) {
                const int t = c == 0 ? 0 : 1;
                const uint64_t nonZero = transform(blocks[c], 8, divisors[t], coef);
                out = JpegCodeBlock(coef, nonZero, predictors[c], out, freq[t * 2], freq[t * 2 + 1]);
            }
            symbols.Commit(out);
        }
    }

    // Tables from the counts, then the second pass writes the scan.
    JpegHuffmanEncodeTable huffman[4];
    for (int t = 0; t < 4; ++t)
        huffman[t] = JpegOptimalHuffmanTable(freq[t]);
    JpegCheckSymbolCodes(huffman, freq);
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

    JpegBitWriter bits;
    JpegWriteSymbols(symbols, huffman, bits, write);
    bits.Flush();
    CheckProgress(progress, 100);
    const uint8_t eoi[2] = {0xFF, kJpegEoi};
    write(bits.Data(), bits.Size());
    write(eoi, 2);
}
