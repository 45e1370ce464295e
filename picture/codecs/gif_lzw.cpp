#include "picture/codecs/gif_lzw.h"

#include <cstring>

#include "picture/graphics_exceptions.h"

CGifLzwDecoder::CGifLzwDecoder(CGraphicsStream& stream, CQnProgress& progress, unsigned width, unsigned height)
    : m_stream(stream), m_progress(progress), m_width(width), m_pixelCount(size_t(width) * height),
      // The literals, the pixels, and room for one whole string written past the last pixel.
      m_out(kLiterals + m_pixelCount + kMaxCodes + 1, 0), m_offset(kMaxCodes), m_length(kMaxCodes)
{
    for (unsigned i = 0; i < kLiterals; ++i) {
        m_out[i] = uint8_t(i);
        m_offset[i] = i;
        m_length[i] = 1;
    }
}

void CGifLzwDecoder::NextSubBlock()
{
    uint8_t length = 0;
    if (m_stream.Read(&length, 1) != 1 || length == 0)
        throw EGifFileReadError("GIF image data ends early");
    if (m_stream.Read(m_block, length) != length)
        throw EGifFileReadError("GIF image data ends early");
    m_blockLength = length;
    m_blockPos = 0;
}

inline unsigned CGifLzwDecoder::ReadCode()
{
    while (m_bitCount < m_codeSize) {
        if (m_blockPos == m_blockLength)
            NextSubBlock();
        m_bits |= uint32_t(m_block[m_blockPos++]) << m_bitCount;
        m_bitCount += 8;
    }
    const unsigned code = m_bits & ((1u << m_codeSize) - 1);
    m_bits >>= m_codeSize;
    m_bitCount -= m_codeSize;
    return code;
}

// After an end code the data must end: the rest of the current sub-block is padding and the
// next length byte is the terminator.
void CGifLzwDecoder::CheckTerminator()
{
    uint8_t terminator = 1;
    if (m_stream.Read(&terminator, 1) != 1 || terminator != 0)
        throw EGifCorruptFile("GIF end code without block terminator");
}

void CGifLzwDecoder::ReportProgress(size_t produced)
{
    while (produced >= m_nextReport) {
        if (!m_progress.SetPos(int64_t(produced * 100 / m_pixelCount)))
            throw EGraphicsAbort();
        m_nextReport += size_t(m_width) * 10;
    }
}

// A new entry was added: codes widen by one bit when the table reaches their range.
inline void CGifLzwDecoder::GrowTable(unsigned& next)
{
    ++next;
    if (next == (1u << m_codeSize) && m_codeSize < 12)
        ++m_codeSize;
}

void CGifLzwDecoder::Decode(unsigned minCodeSize)
{
    if (minCodeSize < 1 || minCodeSize > 8)
        throw EGifCorruptFile("GIF code size out of range");
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    uint8_t* const out = m_out.data();
    const size_t last = kLiterals + m_pixelCount;
    size_t pos = kLiterals;
    unsigned next = clear + 2;
    m_codeSize = minCodeSize + 1;
    m_nextReport = size_t(m_width) * 10;

    uint32_t prevOffset = 0;
    unsigned prevLength = 0;
    bool restart = true; // the next code starts over after a clear code
    while (pos < last) {
        unsigned code = ReadCode();
        if (code == clear) {
            next = clear + 2;
            m_codeSize = minCodeSize + 1;
            restart = true;
            continue;
        }
        if (code == end) {
            CheckTerminator();
            return;
        }
        if (restart) {
            if (code > clear)
                throw EGifCorruptFile("GIF code stream starts with an undefined code");
            out[pos] = uint8_t(code);
            prevOffset = uint32_t(pos);
            prevLength = 1;
            ++pos;
            restart = false;
        } else if (code < next) {
            const unsigned length = m_length[code];
            std::memcpy(out + pos, out + m_offset[code], length);
            if (next < kMaxCodes) {
                m_offset[next] = prevOffset;
                m_length[next] = uint16_t(prevLength + 1);
                GrowTable(next);
            }
            prevOffset = uint32_t(pos);
            prevLength = length;
            pos += length;
        } else {
            // A code not yet defined (the one this step defines, or damaged data): the
            // previous string followed by its own first byte.
            std::memcpy(out + pos, out + prevOffset, prevLength);
            out[pos + prevLength] = out[prevOffset];
            if (next < kMaxCodes) {
                m_offset[next] = uint32_t(pos);
                m_length[next] = uint16_t(prevLength + 1);
                GrowTable(next);
            }
            prevOffset = uint32_t(pos);
            prevLength += 1;
            pos += prevLength;
        }
        if (pos - kLiterals >= m_nextReport)
            ReportProgress(pos < last ? pos - kLiterals : m_pixelCount);
    }
}
