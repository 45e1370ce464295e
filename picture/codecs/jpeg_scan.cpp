// Entropy-coded scans of the JPEG decoder: sequential (T.81 F.2) and progressive (G.2)
// Huffman decoding, data-unit order and restart intervals.
#include <cstring>

#include "base/progress.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"

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
// by row, or the MCUs of an interleaved scan with each component's h x v blocks.
template <typename BlockFn, typename RowFn>
void CJpegDecoder::ForEachDataUnit(const JpegScan& scan, BlockFn&& decodeBlock, RowFn&& rowDone)
{
    if (scan.count == 1) {
        JpegComponent& c = m_components[scan.components[0]];
        for (int row = 0; row < c.blocksHigh; ++row) {
            ReportRow(row, c.blocksHigh);
            for (int col = 0; col < c.blocksWide; ++col) {
                RestartIfDue(scan);
                decodeBlock(c, row, col);
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
                        decodeBlock(c, mcuRow * c.v + by, mcuCol * c.h + bx);
            }
            m_bits.CheckOverrun();
        }
        rowDone(mcuRow);
    }
}

int16_t* CJpegDecoder::CoefficientBlock(JpegComponent& c, int blockRow, int blockCol)
{
    return c.coefficients.data() + (size_t(blockRow) * size_t(c.paddedBlocksWide) + size_t(blockCol)) * 64;
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
        alignas(16) int16_t block[64] = {};
        if (m_blockSize == 1)
            BuildAcSkipTables(scan);
        ForEachDataUnit(
            scan,
            [&](JpegComponent& c, int row, int col) {
                if (c.blockWidth == 1 && c.blockHeight == 1)
                    DecodeSequentialBlockDcOnly(c, block);
                else
                    DecodeSequentialBlock(c, block);
                uint8_t* out = c.rowSamples.data() + size_t(row % c.v) * size_t(c.blockHeight) * c.RowStride() +
                               size_t(col) * size_t(c.blockWidth);
                InverseTransform(block, c, out);
                // Clear only what the block set, ready for the next one.
                block[0] = 0;
                for (int i = 0; i < m_writtenCount; ++i)
                    block[m_written[i]] = 0;
            },
            [&](int mcuRow) { WriteMcuRow(mcuRow); });
    } else if (!m_progressive) {
        ForEachDataUnit(
            scan,
            [&](JpegComponent& c, int row, int col) {
                int16_t* block = CoefficientBlock(c, row, col);
                std::memset(block, 0, 64 * sizeof(int16_t));
                DecodeSequentialBlock(c, block);
                m_writtenCount = 0;
            },
            noRowAction);
    } else if (scan.ss == 0) {
        if (scan.ah == 0)
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col) { DecodeDcFirst(c, CoefficientBlock(c, row, col), scan.al); },
                noRowAction);
        else
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col) { DecodeDcRefine(CoefficientBlock(c, row, col), scan.al); },
                noRowAction);
    } else {
        if (scan.ah == 0)
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col) { DecodeAcFirst(c, CoefficientBlock(c, row, col), scan); },
                noRowAction);
        else
            ForEachDataUnit(
                scan, [&](JpegComponent& c, int row, int col) { DecodeAcRefine(c, CoefficientBlock(c, row, col), scan); },
                noRowAction);
    }
    if (!m_progress.SetPos(100))
        throw EJpegAbort("Cancelled");
}

void CJpegDecoder::DecodeDcCoefficient(JpegComponent& c, int16_t* block)
{
    m_bits.Ensure(32);
    const int s = JpegDecodeHuffman(m_bits, m_dcTables[c.dcTable]);
    if (s) {
        if (s > 15)
            throw EJpegBadData("Corrupt Scan Data");
        const int diff = JpegExtend(m_bits.TakeBits(s), s);
        c.dcPredictor = static_cast<int16_t>(c.dcPredictor + diff);
    }
    block[0] = static_cast<int16_t>(c.dcPredictor);
}

void CJpegDecoder::DecodeSequentialBlock(JpegComponent& c, int16_t* block)
{
    const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
    DecodeDcCoefficient(c, block);

    m_writtenCount = 0;
    for (int k = 1; k < 64;) {
        m_bits.Ensure(32);
        const int rs = JpegDecodeHuffman(m_bits, ac);
        const int r = rs >> 4;
        const int s = rs & 15;
        if (s) {
            k += r;
            if (k > 63)
                throw EJpegFatal("Value out of range");
            const int position = kJpegZigzagToNatural[k];
            block[position] = static_cast<int16_t>(JpegExtend(m_bits.TakeBits(s), s));
            m_written[m_writtenCount++] = static_cast<uint8_t>(position);
            ++k;
        } else {
            if (r != 15)
                break; // end of block
            k += 16;
        }
    }
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
    DecodeDcCoefficient(c, block);
    m_writtenCount = 0;
    for (int k = 1; k < 64;) {
        m_bits.Ensure(32);
        const unsigned entry = skip[m_bits.Peek(JpegHuffmanDecodeTable::kLookBits)];
        int advance;
        if (entry) {
            m_bits.Skip(static_cast<int>(entry >> 8));
            advance = static_cast<int>(entry & 0xFF);
        } else {
            const int rs = JpegDecodeHuffman(m_bits, ac);
            const int r = rs >> 4;
            const int s = rs & 15;
            m_bits.TakeBits(s);
            advance = s ? r + 1 : r == 15 ? 16 : 0;
        }
        if (advance == 0)
            break; // end of block
        if (advance != 16 && k + advance > 64)
            throw EJpegFatal("Value out of range");
        k += advance;
    }
}

void CJpegDecoder::DecodeDcFirst(JpegComponent& c, int16_t* block, int al)
{
    m_bits.Ensure(32);
    const int s = JpegDecodeHuffman(m_bits, m_dcTables[c.dcTable]);
    if (s) {
        if (s > 15)
            throw EJpegBadData("Corrupt Scan Data");
        const int diff = JpegExtend(m_bits.TakeBits(s), s);
        c.dcPredictor = static_cast<int16_t>(c.dcPredictor + diff);
    }
    block[0] = static_cast<int16_t>(c.dcPredictor * (1 << al));
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
    for (int k = scan.ss; k <= scan.se; ++k) {
        m_bits.Ensure(32);
        const int rs = JpegDecodeHuffman(m_bits, ac);
        const int r = rs >> 4;
        const int s = rs & 15;
        if (s) {
            k += r;
            if (k > scan.se)
                throw EJpegBadData("Data out of range");
            const int value = JpegExtend(m_bits.TakeBits(s), s);
            block[kJpegZigzagToNatural[k]] = static_cast<int16_t>(value * (1 << scan.al));
        } else if (r == 15) {
            k += 15; // sixteen zeros, the loop adds the last
        } else {
            m_eobRun = (1 << r) - 1;
            if (r)
                m_eobRun += m_bits.GetBits(r);
            break;
        }
    }
}

void CJpegDecoder::DecodeAcRefine(JpegComponent& c, int16_t* block, const JpegScan& scan)
{
    const int plus = 1 << scan.al;
    const int minus = -plus;
    // Correction bit of a coefficient that already has a history.
    auto refine = [&](int16_t& coef) {
        if (m_bits.GetBit() && (coef & plus) == 0)
            coef = static_cast<int16_t>(coef + (coef >= 0 ? plus : minus));
    };

    int k = scan.ss;
    if (m_eobRun == 0) {
        const JpegHuffmanDecodeTable& ac = m_acTables[c.acTable];
        for (; k <= scan.se; ++k) {
            m_bits.Ensure(32);
            const int rs = JpegDecodeHuffman(m_bits, ac);
            int r = rs >> 4;
            int s = rs & 15;
            if (s) {
                if (s != 1)
                    throw EJpegBadData("Invalid value in input stream");
                s = m_bits.GetBit() ? plus : minus;
            } else if (r != 15) {
                m_eobRun = 1 << r;
                if (r)
                    m_eobRun += m_bits.GetBits(r);
                break; // the rest of this block is refined below
            }
            // Skip r zero-history coefficients (refining the others on the way), then place
            // the new coefficient, or for a ZRL skip sixteen.
            for (;;) {
                if (k > scan.se) {
                    if (s)
                        throw EJpegBadData("Error in progressive scan");
                    throw EJpegBadData("Corrupt Scan Data");
                }
                int16_t& coef = block[kJpegZigzagToNatural[k]];
                if (coef != 0) {
                    refine(coef);
                } else {
                    if (r == 0)
                        break;
                    --r;
                }
                ++k;
            }
            if (s)
                block[kJpegZigzagToNatural[k]] = static_cast<int16_t>(s);
        }
    }
    if (m_eobRun > 0) {
        for (; k <= scan.se; ++k) {
            int16_t& coef = block[kJpegZigzagToNatural[k]];
            if (coef != 0)
                refine(coef);
        }
        --m_eobRun;
    }
}
