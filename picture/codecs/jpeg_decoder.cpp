// Marker and segment parsing of the JPEG decoder (T.81 Annex B).
#include "picture/codecs/jpeg_decoder.h"

#include <algorithm>
#include <new>

#include "base/progress.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

CJpegDecoder::CJpegDecoder(JpegSource& source, CPicture* picture, CQnProgress& progress)
    : m_source(source), m_bits(source), m_picture(picture), m_progress(progress)
{
}

void CJpegDecoder::SetReduction(int denominator)
{
    m_reduction = denominator == 2 || denominator == 4 || denominator == 8 ? denominator : 1;
    m_blockSize = 8 / m_reduction;
}

void CJpegDecoder::Decode()
{
    try {
        ParseStream();
    } catch (const EJpegAbort&) {
        ReleaseBuffers();
        throw;
    } catch (...) {
        FinishPicture();
        throw;
    }
    FinishPicture();
}

void CJpegDecoder::ParseStream()
{
    if (m_source.ReadByte() != 0xFF || m_source.ReadByte() != kJpegSoi)
        throw EJpegBadData("Not a JPEG file");
    while (!m_endOfImage) {
        const int marker = NextMarker();
        m_afterScan = false;
        switch (marker) {
        case kJpegSof0:
        case kJpegSof1:
            ReadFrameHeader(false);
            if (!m_picture)
                return; // header only
            break;
        case kJpegSof2:
            ReadFrameHeader(true);
            if (!m_picture)
                return;
            break;
        case kJpegSof3:
            throw EJpegBadData("Lossless Huffman Coding Not Supported");
        case kJpegDht:
            ReadHuffmanTables();
            break;
        case kJpegSof5:
            throw EJpegBadData("Differential Sequential Huffman Coding Not Supported");
        case kJpegSof6:
            throw EJpegBadData("Differential Progressive Huffman Coding Not Supported");
        case kJpegSof7:
            throw EJpegBadData("Differential Lossless Huffman Coding Not Supported");
        case 0xC9: case 0xCA: case 0xCB: case 0xCD: case 0xCE: case 0xCF:
            throw EJpegBadData("Cannot read image - Arithmetic Coding covered by patents");
        case kJpegSoi:
            break;
        case kJpegEoi:
            m_endOfImage = true;
            break;
        case kJpegSos:
            ReadScanHeader();
            m_afterScan = true;
            break;
        case kJpegDqt:
            ReadQuantizationTables();
            break;
        case kJpegDri:
            ReadRestartInterval();
            break;
        case kJpegDhp:
            throw EJpegBadData("DHP marker not supported");
        case kJpegCom:
            m_source.pos = SegmentEnd();
            break;
        default:
            if (marker >= kJpegApp0 && marker <= kJpegApp15) {
                m_source.pos = SegmentEnd();
                break;
            }
            throw EJpegBadData("Unknown, unsupported, or reserved marker encountered");
        }
    }
    while (!m_source.AtEnd() && (m_source.data[m_source.pos] == '\r' || m_source.data[m_source.pos] == '\n'))
        ++m_source.pos;
}

int CJpegDecoder::NextMarker()
{
    for (;;) {
        if (m_source.AtEnd())
            throw EJpegBadData("Premature end of file");
        if (m_source.ReadByte() != 0xFF)
            continue; // bytes between segments are skipped
        int code = m_source.ReadByte();
        while (code == 0xFF)
            code = m_source.ReadByte();
        // Right after a scan, a stuffed 0xFF 0x00 is the tail of entropy-coded data.
        if (code == 0x00 && m_afterScan)
            continue;
        return code;
    }
}

// Reads a segment's length and returns where the segment ends.
size_t CJpegDecoder::SegmentEnd()
{
    const size_t start = m_source.pos;
    const unsigned length = m_source.ReadU16();
    if (length < 2)
        throw EJpegBadData("Invalid segment length");
    if (length > m_source.size - start)
        throw EJpegBadData("Premature end of file");
    return start + length;
}

void CJpegDecoder::ReadFrameHeader(bool progressive)
{
    if (m_frameRead)
        throw EJpegBadData("Multiple frames not supported");
    const size_t end = SegmentEnd();
    const unsigned length = static_cast<unsigned>(end - (m_source.pos - 2));
    if (m_source.ReadByte() != 8)
        throw EJpegBadData("Only 8-bit data supported");
    m_height = static_cast<int>(m_source.ReadU16());
    m_width = static_cast<int>(m_source.ReadU16());
    const unsigned count = m_source.ReadByte();
    if (count != 1 && count != 3)
        throw EJpegBadData("JFIF only supports 1 and 3 component streams");
    if (length != 8 + 3 * count)
        throw EJpegBadData("Invalid Frame Size");
    if (m_width == 0 || m_height == 0)
        throw EJpegBadData("Invalid Frame Size");

    m_components.assign(count, JpegComponent{});
    for (unsigned i = 0; i < count; ++i) {
        JpegComponent& c = m_components[i];
        c.id = m_source.ReadByte();
        const unsigned sampling = m_source.ReadByte();
        c.h = static_cast<int>(sampling >> 4);
        c.v = static_cast<int>(sampling & 15);
        if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4)
            throw EJpegValueOutOfRange("Invalid sampling factor");
        c.quantIndex = m_source.ReadByte();
        if (c.quantIndex > 3)
            throw EJpegBadData("Bad Quantization Table Index");
        for (unsigned j = 0; j < i; ++j)
            if (m_components[j].id == c.id)
                throw EJpegBadData("Duplicate component identifier");
    }
    // A single component is always coded alone (non-interleaved): its own sampling
    // factors then play no part in the geometry.
    if (count == 1)
        m_components[0].h = m_components[0].v = 1;

    m_progressive = progressive;
    m_hMax = m_vMax = 1;
    for (const JpegComponent& c : m_components) {
        m_hMax = std::max(m_hMax, c.h);
        m_vMax = std::max(m_vMax, c.v);
    }
    m_mcuWidth = 8 * m_hMax;
    m_mcuHeight = 8 * m_vMax;
    m_mcuCols = (m_width + m_mcuWidth - 1) / m_mcuWidth;
    m_mcuRows = (m_height + m_mcuHeight - 1) / m_mcuHeight;
    uint64_t largestGrid = 0;
    for (JpegComponent& c : m_components) {
        const int compWidth = (m_width * c.h + m_hMax - 1) / m_hMax;
        const int compHeight = (m_height * c.v + m_vMax - 1) / m_vMax;
        c.blocksWide = (compWidth + 7) / 8;
        c.blocksHigh = (compHeight + 7) / 8;
        c.paddedBlocksWide = m_mcuCols * c.h;
        c.paddedBlocksHigh = m_mcuRows * c.v;
        largestGrid = std::max(largestGrid, uint64_t(c.blocksWide) * uint64_t(c.blocksHigh));
    }
    for (JpegComponent& c : m_components) {
        // A subsampled component keeps up to hMax / h (vMax / v) times the samples of a
        // full-resolution one, so that its output resolution stays the picture's.
        const int widen = m_hMax % c.h == 0 ? m_hMax / c.h : 1;
        const int deepen = m_vMax % c.v == 0 ? m_vMax / c.v : 1;
        c.blockWidth = std::min(8, m_blockSize * widen);
        c.blockHeight = std::min(8, m_blockSize * deepen);
        c.outH = c.h * c.blockWidth / m_blockSize;
        c.outV = c.v * c.blockHeight / m_blockSize;
    }
    m_outWidth = (m_width + m_reduction - 1) / m_reduction;
    m_outHeight = (m_height + m_reduction - 1) / m_reduction;
    m_outMcuHeight = m_vMax * m_blockSize;
    m_frameRead = true;
    m_source.pos = end;
    if (!m_picture)
        return;

    // Every block costs at least one bit of scan data: a frame larger than that is not
    // backed by this file, and nothing is allocated for it.
    if (largestGrid > uint64_t(m_source.size) * 8)
        throw EJpegBadData("Frame size exceeds the file's data");
    m_picture->Clear();
    if (!m_picture->Create(static_cast<unsigned>(m_outWidth), static_cast<unsigned>(m_outHeight)))
        throw EJpegFatal("Not enough memory for the picture");
    if (count == 1) {
        m_picture->SetPaletteSize(256);
        for (unsigned i = 0; i < 256; ++i) {
            const uint8_t grey[3] = {uint8_t(i), uint8_t(i), uint8_t(i)};
            m_picture->SetPaletteEntry(i, grey);
        }
    } else {
        m_picture->SetBitsPerPixel(24);
    }
}

void CJpegDecoder::ReadHuffmanTables()
{
    const size_t end = SegmentEnd();
    while (m_source.pos < end) {
        const unsigned classAndIndex = m_source.ReadByte();
        const unsigned index = classAndIndex & 15;
        if (index > 3)
            throw EJpegBadData("Huffman Table Index outside range [0..3]");
        uint8_t counts[16];
        int total = 0;
        for (uint8_t& n : counts) {
            n = m_source.ReadByte();
            total += n;
        }
        if (total > 256)
            throw EJpegBadData("Huffman count > 256");
        if (size_t(total) > end - std::min(end, m_source.pos))
            throw EJpegBadData("Invalid Huffman Table");
        const bool dc = (classAndIndex >> 4) == 0;
        JpegHuffmanDecodeTable& table = dc ? m_dcTables[index] : m_acTables[index];
        table.Build(counts, m_source.data + m_source.pos,
                    dc ? JpegHuffmanDecodeTable::Class::Dc : JpegHuffmanDecodeTable::Class::Ac);
        m_source.pos += static_cast<size_t>(total);
    }
    if (m_source.pos != end)
        throw EJpegBadData("Invalid Huffman Table");
}

void CJpegDecoder::ReadQuantizationTables()
{
    const size_t end = SegmentEnd();
    while (m_source.pos < end) {
        const unsigned precisionAndIndex = m_source.ReadByte();
        const unsigned index = precisionAndIndex & 15;
        const unsigned precision = precisionAndIndex >> 4;
        if (index > 3)
            throw EJpegBadData("Quantization Table Index Too Large");
        if (precision == 1)
            throw EJpegBadData("Only 8-bit Data is Supported");
        if (precision != 0)
            throw EJpegBadData("Invalid Quantization Table Precision");
        if (end - std::min(end, m_source.pos) < 64)
            throw EJpegBadData("Invalid segment length");
        for (int k = 0; k < 64; ++k) {
            const uint8_t q = m_source.ReadByte();
            if (q == 0)
                throw EJpegBadData("Zero value in quantization table");
            m_quant[index][kJpegZigzagToNatural[k]] = q;
        }
        m_quantDefined[index] = true;
    }
    if (m_source.pos != end)
        throw EJpegBadData("Invalid segment length");
}

void CJpegDecoder::ReadRestartInterval()
{
    const size_t end = SegmentEnd();
    m_restartInterval = static_cast<int>(m_source.ReadU16());
    m_source.pos = end;
}

void CJpegDecoder::ReadScanHeader()
{
    if (!m_frameRead)
        throw EJpegBadData("Scan found before frame defined");
    const size_t end = SegmentEnd();
    JpegScan scan;
    scan.count = m_source.ReadByte();
    if (scan.count < 1 || scan.count > 3)
        throw EJpegBadData("Invalid component count in scan");
    for (int i = 0; i < scan.count; ++i) {
        const int id = m_source.ReadByte();
        const unsigned tables = m_source.ReadByte();
        int found = -1;
        for (size_t k = 0; k < m_components.size(); ++k)
            if (m_components[k].id == id)
                found = static_cast<int>(k);
        if (found < 0)
            throw EJpegBadData("Component Not Defined");
        for (int j = 0; j < i; ++j)
            if (scan.components[j] == found)
                throw EJpegBadData("Duplicate component in scan");
        if ((tables >> 4) > 3 || (tables & 15) > 3)
            throw EJpegBadData("Huffman Table Index outside range [0..3]");
        scan.components[i] = found;
        m_components[found].dcTable = static_cast<int>(tables >> 4);
        m_components[found].acTable = static_cast<int>(tables & 15);
    }
    scan.ss = m_source.ReadByte();
    scan.se = m_source.ReadByte();
    const unsigned approximation = m_source.ReadByte();
    scan.ah = static_cast<int>(approximation >> 4);
    scan.al = static_cast<int>(approximation & 15);
    if (m_source.pos != end)
        throw EJpegBadData("Invalid scan header length");

    if (m_progressive) {
        if (scan.ss == 0 && scan.se != 0)
            throw EJpegBadData("Progressive scan contains DC and AC data");
        if (scan.ss > scan.se || scan.se > 63 || scan.al > 13 || scan.ah > 13)
            throw EJpegBadData("Invalid progressive parameters");
        if (scan.ss > 0)
            scan.count = 1; // AC scans code only their first component
    }
    CheckScanTables(scan);
    PrepareBuffers(scan);
    DecodeScan(scan);
}

void CJpegDecoder::CheckScanTables(const JpegScan& scan) const
{
    for (int i = 0; i < scan.count; ++i) {
        const JpegComponent& c = m_components[scan.components[i]];
        if (!m_quantDefined[c.quantIndex])
            throw EJpegBadData("Quantization Table Not Defined");
        const bool needsDc = !m_progressive || (scan.ss == 0 && scan.ah == 0);
        const bool needsAc = !m_progressive || scan.ss > 0;
        if (needsDc && !m_dcTables[c.dcTable].defined)
            throw EJpegBadData("INTERNAL ERROR - DC Table Not Defined");
        if (needsAc && !m_acTables[c.acTable].defined)
            throw EJpegBadData("AC Table Not Defined");
    }
}

void CJpegDecoder::PrepareBuffers(const JpegScan& scan)
{
    if (m_mode == Mode::Streaming)
        throw EJpegBadData("Scan after the last one of a sequential image");
    try {
        if (m_mode == Mode::Undecided) {
            // A sequential image whose first scan holds every component is decoded and
            // written row by row; anything else keeps all coefficients until the end.
            const bool streaming = !m_progressive && scan.count == ComponentCount();
            m_mode = streaming ? Mode::Streaming : Mode::WholeImage;
            for (JpegComponent& c : m_components) {
                c.rowSamples.assign(c.RowStride() * size_t(c.v) * size_t(c.blockHeight), 0);
                if (!streaming)
                    c.coefficients.assign(size_t(c.blocksWide) * size_t(c.blocksHigh) * 64, 0);
            }
            m_pairStreamed = streaming && m_simd >= SimdLevel::Avx2 && ComponentCount() <= int(m_streamed.size()) &&
                             std::all_of(m_components.begin(), m_components.end(), [](const JpegComponent& c) {
                                 return c.blockWidth == 8 && c.blockHeight == 8;
                             });
            if (ComponentCount() == 3) {
                for (auto& row : m_upsampled)
                    row.assign(static_cast<size_t>(m_outWidth), 0);
                const JpegComponent& luma = m_components[0];
                const JpegComponent& cb = m_components[1];
                const JpegComponent& cr = m_components[2];
                m_chromaOffsetsUsable = luma.outH == m_hMax && luma.outV == m_vMax && cb.outH == cr.outH &&
                                        cb.outV == cr.outV && (cb.outH == m_hMax || 2 * cb.outH == m_hMax);
                if (m_chromaOffsetsUsable)
                    m_chromaOffsets.assign(cb.RowStride() * 3, 0);
            }
        }
    } catch (const std::bad_alloc&) {
        throw EJpegFatal("Not enough memory for the image");
    }
    for (int i = 0; i < scan.count; ++i) {
        JpegComponent& c = m_components[scan.components[i]];
        if (!c.quantizerLatched) {
            c.quantizer = m_quant[c.quantIndex];
            c.quantizerLatched = true;
        }
    }
}

void CJpegDecoder::ReleaseBuffers()
{
    for (JpegComponent& c : m_components) {
        std::vector<int16_t>().swap(c.coefficients);
        std::vector<uint8_t>().swap(c.rowSamples);
    }
    for (auto& row : m_upsampled)
        std::vector<uint8_t>().swap(row);
    std::vector<int16_t>().swap(m_chromaOffsets);
}
