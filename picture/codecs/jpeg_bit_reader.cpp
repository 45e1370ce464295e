#include "picture/codecs/jpeg_bit_reader.h"

#include "picture/codecs/jpeg_tables.h"

JpegBits JpegBitReader::FillSlowly(JpegBits bits)
{
    const uint8_t* data = m_source.data;
    const size_t size = m_source.size;
    size_t pos = m_source.pos;
    while (bits.count <= 56) {
        unsigned byte = 0;
        if (!m_stopped) {
            if (pos >= size) {
                m_stopped = true;
                m_stopMarker = -1;
            } else if (data[pos] != 0xFF) {
                byte = data[pos++];
            } else {
                size_t next = pos + 1;
                if (next < size && data[next] == 0x00) {
                    byte = 0xFF;
                    pos += 2;
                } else {
                    // A marker (possibly after 0xFF fill bytes): stay in front of it.
                    while (next < size && data[next] == 0xFF)
                        ++next;
                    m_stopped = true;
                    m_stopMarker = next < size ? data[next] : -1;
                }
            }
        }
        if (m_stopped)
            m_padBits += 8;
        bits.word |= static_cast<uint64_t>(byte) << (56 - bits.count);
        bits.count += 8;
    }
    m_source.pos = pos;
    return bits;
}

void JpegBitReader::ThrowOverrun() const
{
    if (m_stopMarker < 0)
        throw EJpegBadData("Premature end of file");
    if (m_stopMarker == kJpegDnl)
        throw EJpegBadData("Unexpected Marker DNL");
    throw EJpegBadData("Unexpected Marker");
}

void JpegBitReader::ReadRestartMarker(int expected)
{
    Reset();
    JpegSource& s = m_source;
    if (s.AtEnd())
        throw EJpegBadData("Premature end of file");
    if (s.data[s.pos] != 0xFF)
        throw EJpegBadData("Missing Restart Marker");
    while (s.pos < s.size && s.data[s.pos] == 0xFF)
        ++s.pos;
    if (s.AtEnd())
        throw EJpegBadData("Premature end of file");
    const uint8_t code = s.data[s.pos];
    if (code < kJpegRst0 || code > kJpegRst7)
        throw EJpegBadData("Missing Restart Marker");
    if (code - kJpegRst0 != expected)
        throw EJpegBadData("Incorrect Restart Marker");
    ++s.pos;
}
