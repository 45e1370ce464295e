// Entropy-coded scans of the JPEG decoder: sequential (T.81 F.2) and progressive (G.2)
// Huffman decoding, data-unit order and restart intervals.
#include <bit>
#include <cstring>

#include "base/progress.h"
#include "picture/codecs/jpeg_block_mask.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"

namespace {
constexpr int kFastBits = JpegHuffmanDecodeTable::kFastBits;

// Decodes an AC symbol and its value bits (at least 32 bits available): returns the symbol,
// `value` gets the coefficient (0 for a run or end-of-band symbol).
JPEG_ALWAYS_INLINE int DecodeAcSymbol(JpegBits& bits, const JpegHuffmanDecodeTable& table, int& value)
{
    const uint32_t entry = table.fast[bits.Peek(kFastBits)];
    int rs;
    if (entry) {
        bits.Skip(JpegFastSkip(entry));
        value = JpegFastValue(entry);
        rs = JpegFastSymbol(entry);
        if (value != 0 || (rs & 15) == 0)
            return rs;
    } else {
        rs = JpegDecodeHuffman(bits, table);
    }
    const int s = rs & 15;
    value = s ? JpegExtend(bits.Take(s), s) : 0;
    return rs;
}

// Decodes a DC difference (at least 32 bits available).
JPEG_ALWAYS_INLINE int DecodeDcDifference(JpegBits& bits, const JpegHuffmanDecodeTable& table)
{
    const uint32_t entry = table.fast[bits.Peek(kFastBits)];
    int s;
    if (entry) {
        bits.Skip(JpegFastSkip(entry));
        s = JpegFastSymbol(entry);
        const int value = JpegFastValue(entry);
        if (value != 0 || s == 0)
            return value;
    } else {
        s = JpegDecodeHuffman(bits, table);
        if (s == 0)
            return 0;
        if (s > 15)
            throw EJpegBadData("Corrupt Scan Data");
    }
    return JpegExtend(bits.Take(s), s);
}

// Every coefficient with a history (bit set in `history`, zigzag order) in positions
// from..to-1 takes a correction bit, in order: it adds `plus` away from zero when the bit is
// set and that bit of the value is clear (no branch on the bit, which follows no pattern). The
// buffer is refilled exactly when a bit is needed and none is left, as everywhere: where a
// damaged scan meets a restart marker depends on it.
JPEG_ALWAYS_INLINE void RefineCoefficients(JpegBitReader& reader, JpegBits& bits, int16_t* block, uint64_t history,
                                           int from, int to, int plus)
{
    if (from >= to)
        return;
    const uint64_t below = to >= 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
    for (uint64_t todo = history & below & (~uint64_t{0} << from); todo; todo &= todo - 1) {
        int16_t& coef = block[kJpegZigzagToNatural[std::countr_zero(todo)]];
        if (bits.count < 1)
            bits = reader.Fill(bits);
        const int bit = static_cast<int>(bits.word >> 63);
        bits.Skip(1);
        const int apply = bit & static_cast<int>((coef & plus) == 0);
        coef = static_cast<int16_t>(coef + apply * (coef >= 0 ? plus : -plus));
    }
}
} // namespace

void CJpegDecoder::ReportRow(int row, int rows)
{
    if (!m_progress.SetPos(rows ? int64_t(100) * row / rows : 100))
        throw EJpegAbort("Cancelled");
}

void CJpegDecoder::RestartIfDue(const JpegScan& scan)
{
    if (m_restartInterval == 0)
        return;
    if (m_restartsToGo == 0) {
        m_bits.ReadRestartMarker(m_expectedRestart);
        m_expectedRestart = (m_expectedRestart + 1) & 7;
        for (int i = 0; i < scan.count; ++i)
            m_components[scan.components[i]].dcPredictor = 0;
        m_eobRun = 0;
        m_restartsToGo = m_restartInterval;
    }
    --m_restartsToGo;
}

// Visits every data unit of the scan in coding order: a lone component's own block grid row
// by row, or the MCUs of an interleaved scan with each component's h x v blocks. The block
// function gets the component, the block's row and column, and its row within the MCU.
template <typename BlockFn, typename RowFn>
void CJpegDecoder::ForEachDataUnit(const JpegScan& scan, BlockFn&& decodeBlock, RowFn&& rowDone)
{
    if (scan.count == 1) {
        JpegComponent& c = m_components[scan.components[0]];
        for (int row = 0; row < c.blocksHigh; ++row) {
            ReportRow(row, c.blocksHigh);
            for (int col = 0; col < c.blocksWide; ++col) {
                RestartIfDue(scan);
                decodeBlock(c, row, col, c.v == 1 ? 0 : row % c.v);
                m_bits.CheckOverrun();
            }
            rowDone(row);
        }
        return;
    }
    for (int mcuRow = 0; mcuRow < m_mcuRows; ++mcuRow) {
        ReportRow(mcuRow, m_mcuRows);
        for (int mcuCol = 0; mcuCol < m_mcuCols; ++mcuCol) {
            RestartIfDue(scan);
            for (int i = 0; i < scan.count; ++i) {
                JpegComponent& c = m_components[scan.components[i]];
                for (int by = 0; by < c.v; ++by)
                    for (int bx = 0; bx < c.h; ++bx)
                        decodeBlock(c, mcuRow * c.v + by, mcuCol * c.h + bx, by);
            }
            m_bits.CheckOverrun();
        }
        rowDone(mcuRow);
    }
}

int16_t* CJpegDecoder::CoefficientBlock(JpegComponent& c, int blockRow, int blockCol)
{
    // Blocks of the last MCUs that lie wholly outside the component's samples are coded in
    // interleaved scans but never shown: they all share one scratch block.
    if (blockRow >= c.blocksHigh || blockCol >= c.blocksWide)
        return m_paddingBlock.data();
    return c.coefficients.data() + (size_t(blockRow) * size_t(c.blocksWide) + size_t(blockCol)) * 64;
}

void CJpegDecoder::DecodeScan(const JpegScan& scan)
{
    for (JpegComponent& c : m_components)
        c.dcPredictor = 0;
    m_eobRun = 0;
    m_expectedRestart = 0;
    m_restartsToGo = m_restartInterval;
    m_bits.Reset();
    auto noRowAction = [](int) {};

    if (m_mode == Mode::Streaming) {
        if (m_blockSize == 1)
            BuildAcSkipTables(scan);
        ForEachDataUnit(
            scan,
            [&](JpegComponent& c, int, int col, int rowInMcu) {
                const size_t index = size_t(&c - m_components.data());
                int16_t* block = StreamedBlock(index);
                if (c.blockWidth == 1 && c.blockHeight == 1)
                    DecodeSequentialBlockDcOnly(c, block);
                else
                    DecodeSequentialBlock(c, block);
                uint8_t* out = c.rowSamples.data() + size_t(rowInMcu) * size_t(c.blockHeight) * c.RowStride() +
                               size_t(col) * size_t(c.blockWidth);
                TransformStreamedBlock(index, c, out);
            },
            [&](int mcuRow) {
                FlushStreamedBlocks();
                WriteMcuRow(mcuRow);
            });
    } else if (!m_progressive) {
        ForEachDataUnit(
            scan,
            [&](JpegComponent& c, int row, int col, int) {
                int16_t* block = CoefficientBlock(c, row, col);
                std::memset(block, 0, 64 * sizeof(int16_t));
                DecodeSequentialBlock(c, block);
            },
            noRowAction);
    } else if (scan.ss == 0) {
        if (scan.ah == 0)
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col, int) {
                    DecodeDcFirst(c, CoefficientBlock(c, row, col), scan.al);
                },
                noRowAction);
        else
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col, int) {
                    DecodeDcRefine(CoefficientBlock(c, row, col), scan.al);
                },
                noRowAction);
    } else {
        if (scan.ah == 0)
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col, int) {
                    DecodeAcFirst(c, CoefficientBlock(c, row, col), scan);
                },
                noRowAction);
        else
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col, int) {
                    DecodeAcRefine(c, CoefficientBlock(c, row, col), scan);
                },
                noRowAction);
    }
    if (!m_progress.SetPos(100))
        throw EJpegAbort("Cancelled");
}


JPEG_ALWAYS_INLINE void CJpegDecoder::DecodeDcCoefficient(JpegComponent& c, JpegBits& bits, int16_t* block)
{
    if (bits.count < 32)
        bits = m_bits.Fill(bits);
    c.dcPredictor = static_cast<int16_t>(c.dcPredictor + DecodeDcDifference(bits, m_dcTables[c.dcTable]));
    block[0] = static_cast<int16_t>(c.dcPredictor);
}

void CJpegDecoder::DecodeSequentialBlock(JpegComponent& c, int16_t* block)
{
    const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
    JpegBits bits = m_bits.Load();
    DecodeDcCoefficient(c, bits, block);
    for (int k = 1; k < 64;) {
        if (bits.count < 32)
            bits = m_bits.Fill(bits);
        int value;
        const int rs = DecodeAcSymbol(bits, ac, value);
        const int r = rs >> 4;
        if (rs & 15) {
            k += r;
            if (k > 63)
                throw EJpegFatal("Value out of range");
            block[kJpegZigzagToNatural[k]] = static_cast<int16_t>(value);
            ++k;
        } else {
            if (r != 15)
                break; // end of block
            k += 16;
        }
    }
    m_bits.Store(bits);
}

void CJpegDecoder::BuildAcSkipTables(const JpegScan& scan)
{
    constexpr int kLook = JpegHuffmanDecodeTable::kLookBits;
    for (int i = 0; i < scan.count; ++i) {
        const int index = m_components[scan.components[i]].acTable;
        const JpegHuffmanDecodeTable& table = m_acTables[index];
        auto& skip = m_acSkip[index];
        for (int prefix = 0; prefix < (1 << kLook); ++prefix) {
            const unsigned entry = table.look[prefix];
            const int length = static_cast<int>(entry >> 8), rs = static_cast<int>(entry & 0xFF);
            const int r = rs >> 4, s = rs & 15;
            if (!entry || length + s > kLook) {
                skip[prefix] = 0;
                continue;
            }
            const int advance = s ? r + 1 : r == 15 ? 16 : 0;
            skip[prefix] = static_cast<uint16_t>((length + s) << 8 | advance);
        }
    }
}

void CJpegDecoder::DecodeSequentialBlockDcOnly(JpegComponent& c, int16_t* block)
{
    const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
    const auto& skip = m_acSkip[c.acTable];
    JpegBits bits = m_bits.Load();
    DecodeDcCoefficient(c, bits, block);
    for (int k = 1; k < 64;) {
        if (bits.count < 32)
            bits = m_bits.Fill(bits);
        const unsigned entry = skip[bits.Peek(JpegHuffmanDecodeTable::kLookBits)];
        int advance;
        if (entry) {
            bits.Skip(static_cast<int>(entry >> 8));
            advance = static_cast<int>(entry & 0xFF);
        } else {
            const int rs = JpegDecodeHuffman(bits, ac);
            const int r = rs >> 4;
            const int s = rs & 15;
            bits.Take(s);
            advance = s ? r + 1 : r == 15 ? 16 : 0;
        }
        if (advance == 0)
            break; // end of block
        if (advance != 16 && k + advance > 64)
            throw EJpegFatal("Value out of range");
        k += advance;
    }
    m_bits.Store(bits);
}

void CJpegDecoder::DecodeDcFirst(JpegComponent& c, int16_t* block, int al)
{
    JpegBits bits = m_bits.Load();
    if (bits.count < 32)
        bits = m_bits.Fill(bits);
    c.dcPredictor = static_cast<int16_t>(c.dcPredictor + DecodeDcDifference(bits, m_dcTables[c.dcTable]));
    block[0] = static_cast<int16_t>(c.dcPredictor * (1 << al));
    m_bits.Store(bits);
}

void CJpegDecoder::DecodeDcRefine(int16_t* block, int al)
{
    if (m_bits.GetBit())
        block[0] = static_cast<int16_t>(block[0] | (1 << al));
}

void CJpegDecoder::DecodeAcFirst(JpegComponent& c, int16_t* block, const JpegScan& scan)
{
    if (m_eobRun > 0) {
        --m_eobRun;
        return;
    }
    const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
    JpegBits bits = m_bits.Load();
    for (int k = scan.ss; k <= scan.se; ++k) {
        if (bits.count < 32)
            bits = m_bits.Fill(bits);
        int value;
        const int rs = DecodeAcSymbol(bits, ac, value);
        const int r = rs >> 4;
        if (rs & 15) {
            k += r;
            if (k > scan.se)
                throw EJpegBadData("Data out of range");
            block[kJpegZigzagToNatural[k]] = static_cast<int16_t>(value * (1 << scan.al));
        } else if (r == 15) {
            k += 15; // sixteen zeros, the loop adds the last
        } else {
            m_eobRun = (1 << r) - 1;
            if (r)
                m_eobRun += bits.Take(r); // at most 14 bits, within the 32 made available
            break;
        }
    }
    m_bits.Store(bits);
}

void CJpegDecoder::DecodeAcRefine(JpegComponent& c, int16_t* block, const JpegScan& scan)
{
    const int plus = 1 << scan.al;
    JpegBits bits = m_bits.Load();
    // Positions (zigzag) whose coefficient has a history, as the block came in. Positions
    // behind k are never looked at again, so coefficients placed on the way need no bit.
    const uint64_t history = JpegNonZeroZigzagMask(block);
    int k = scan.ss;
    if (m_eobRun == 0) {
        const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
        for (; k <= scan.se; ++k) {
            if (bits.count < 32)
                bits = m_bits.Fill(bits);
            int value;
            const int rs = DecodeAcSymbol(bits, ac, value); // a new coefficient's sign bit read too
            int r = rs >> 4;
            int s = rs & 15;
            if (s) {
                if (s != 1)
                    throw EJpegBadData("Invalid value in input stream");
                s = value > 0 ? plus : -plus;
            } else if (r != 15) {
                m_eobRun = 1 << r;
                if (r)
                    m_eobRun += bits.Take(r);
                break; // the rest of this block is refined below
            }
            // Pass r zero-history coefficients (refining the others on the way) and stop at
            // the next one: the new coefficient's place, or for a ZRL the sixteenth zero.
            for (;;) {
                const uint64_t zeros = k < 64 ? ~history & (~uint64_t{0} << k) : 0;
                const int zero = zeros ? std::countr_zero(zeros) : 64;
                if (zero > scan.se) {
                    RefineCoefficients(m_bits, bits, block, history, k, scan.se + 1, plus);
                    if (s)
                        throw EJpegBadData("Error in progressive scan");
                    throw EJpegBadData("Corrupt Scan Data");
                }
                RefineCoefficients(m_bits, bits, block, history, k, zero, plus);
                k = zero;
                if (r == 0)
                    break;
                --r;
                ++k;
            }
            if (s)
                block[kJpegZigzagToNatural[k]] = static_cast<int16_t>(s);
        }
    }
    if (m_eobRun > 0) {
        RefineCoefficients(m_bits, bits, block, history, k, scan.se + 1, plus);
        --m_eobRun;
    }
    m_bits.Store(bits);
}
