#include "picture/codecs/png_writer.h"

#include <algorithm>
#include <cstring>

#include "picture/codecs/checksums.h"
#include "picture/codecs/deflater.h"
#include "picture/codecs/png_format.h"
#include "picture/codecs/png_row_pack.h"
#include "picture/graphics_exceptions.h"

using namespace png;

namespace {
constexpr unsigned kFilterNone = 0x08; // filter mask bit of filter type None
constexpr unsigned kFilterMask = kFilterNone;

// Maps colours to the index of the first palette entry holding them.
class CColourIndex {
public:
    explicit CColourIndex(const CPicture& picture, unsigned entries)
    {
        std::fill(std::begin(m_keys), std::end(m_keys), kEmpty);
        for (unsigned i = 0; i < entries; ++i) {
            const uint8_t* e = picture.Palette() + 3 * i;
            const uint32_t key = Key(e);
            unsigned slot = Slot(key);
            while (m_keys[slot] != kEmpty && m_keys[slot] != key)
                slot = (slot + 1) & (kSlots - 1);
            if (m_keys[slot] == kEmpty) {
                m_keys[slot] = key;
                m_values[slot] = uint8_t(i);
            }
        }
    }
    uint8_t Find(const uint8_t* bgr)
    {
        const uint32_t key = Key(bgr);
        if (key == m_lastKey)
            return m_lastValue;
        unsigned slot = Slot(key);
        while (m_keys[slot] != kEmpty && m_keys[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        m_lastKey = key;
        m_lastValue = m_keys[slot] == key ? m_values[slot] : 0;
        return m_lastValue;
    }

private:
    static constexpr unsigned kSlots = 1024;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static uint32_t Key(const uint8_t* bgr) { return uint32_t(bgr[0]) | uint32_t(bgr[1]) << 8 | uint32_t(bgr[2]) << 16; }
    static unsigned Slot(uint32_t key) { return ((key * 2654435761u) >> 22) & (kSlots - 1); }

    uint32_t m_keys[kSlots];
    uint8_t m_values[kSlots] = {};
    uint32_t m_lastKey = kEmpty;
    uint8_t m_lastValue = 0;
};

void ThrowWriteError() { throw EPngError("File write error"); }
} // namespace

// Feeds the deflater with the filtered rows (filter byte 0, then the row's samples), built
// one row at a time from the picture.
class CPngWriter::CRowSource : public CDeflateSource {
public:
    // passes: how often the deflater will read the rows (it reports progress over them).
    CRowSource(const CPngWriter& writer, int passes)
        : m_writer(writer), m_picture(writer.m_picture), m_index(writer.m_picture, writer.m_paletteEntries),
          m_passes(passes)
    {
        const unsigned width = unsigned(m_picture.Width());
        const unsigned bits = writer.m_bitDepth * Channels(writer.m_colourType);
        m_row.resize(1 + (size_t(width) * bits + 7) / 8);
    }

    void Restart() override
    {
        ++m_pass;
        m_y = 0;
        m_offset = m_length = 0;
    }

    size_t Read(uint8_t* dst, size_t max) override
    {
        size_t done = 0;
        while (done < max) {
            if (m_offset == m_length) {
                if (m_y == m_picture.Height())
                    break;
                BuildRow(m_y++);
            }
            const size_t take = std::min(max - done, m_length - m_offset);
            std::memcpy(dst + done, m_row.data() + m_offset, take);
            m_offset += take;
            done += take;
        }
        return done;
    }

private:
    void BuildRow(int y)
    {
        if (y % 10 == 0) {
            const int64_t done = int64_t(m_pass - 1) * m_picture.Height() + y;
            const int64_t percent = std::min<int64_t>(100, done * 100 / (int64_t(m_passes) * m_picture.Height()));
            if (!m_writer.m_progress.SetPos(percent))
                throw EGraphicsAbort();
        }
        const uint8_t* px = m_picture.Row(y);
        const int width = m_picture.Width();
        uint8_t* out = m_row.data();
        *out++ = 0; // filter type None
        switch (m_writer.m_colourType) {
        case kRgb:
            BgrToRgb(px, out, size_t(width));
            break;
        case kRgba: {
            const uint8_t* alpha = m_picture.HasAlpha() ? m_picture.Alpha() + size_t(y) * width : nullptr;
            for (int x = 0; x < width; ++x, px += 3, out += 4) {
                out[0] = px[2];
                out[1] = px[1];
                out[2] = px[0];
                out[3] = alpha ? alpha[x] : 255;
            }
            break;
        }
        default: {
            const unsigned depth = m_writer.m_bitDepth;
            if (depth == 8) {
                for (int x = 0; x < width; ++x, px += 3)
                    *out++ = m_index.Find(px);
                break;
            }
            std::fill(out, m_row.data() + m_row.size(), 0);
            for (int x = 0; x < width; ++x, px += 3) {
                const size_t bit = size_t(x) * depth;
                out[bit >> 3] |= uint8_t(m_index.Find(px) << (8 - depth - (bit & 7)));
            }
            break;
        }
        }
        m_offset = 0;
        m_length = m_row.size();
    }

    const CPngWriter& m_writer;
    const CPicture& m_picture;
    CColourIndex m_index;
    std::vector<uint8_t> m_row;
    int m_passes;
    int m_pass = 0;
    int m_y = 0;
    size_t m_offset = 0, m_length = 0;
};

// Collects the zlib stream and writes it as IDAT chunks of exactly 8192 data bytes, the
// last one holding the rest.
class CPngWriter::CIdatSink : public CDeflateSink {
public:
    explicit CIdatSink(CPngWriter& writer) : m_writer(writer) { m_buffer.reserve(kIdatChunkSize); }

    void Write(const uint8_t* data, size_t n) override
    {
        while (n) {
            if (m_buffer.size() == kIdatChunkSize)
                Emit();
            const size_t take = std::min(n, kIdatChunkSize - m_buffer.size());
            m_buffer.insert(m_buffer.end(), data, data + take);
            if (m_buffer.size() > kIdatChunkSize)
                throw EPngError("Output Buffer Overrun");
            data += take;
            n -= take;
        }
    }
    void Finish()
    {
        if (!m_buffer.empty())
            Emit();
    }

private:
    void Emit()
    {
        m_writer.WriteChunk("IDAT", m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

    CPngWriter& m_writer;
    std::vector<uint8_t> m_buffer;
};

CPngWriter::CPngWriter(CGraphicsStream& stream, const CPicture& picture, int level, CQnProgress& progress)
    : m_stream(stream), m_picture(picture), m_level(level), m_progress(progress)
{
    ChooseForm();
}

// Depths up to 8 with a palette: palette indices, as grey samples when the palette is the
// grey ramp of the bit depth (so grey samples mean the same colours), else with a PLTE.
// The bit depth is widened when the palette has more entries than the depth can index.
void CPngWriter::ChooseForm()
{
    const int bits = m_picture.BitsPerPixel();
    const unsigned entries = m_picture.PaletteSize();
    if (bits <= 8 && entries > 0 && entries <= 256) {
        unsigned need = unsigned(std::max(bits, 1));
        while ((1u << need) < entries)
            ++need;
        m_bitDepth = need <= 1 ? 1 : need <= 2 ? 2 : need <= 4 ? 4 : 8;
        m_paletteEntries = entries;
        m_colourType = PaletteIsGreyRamp() ? kGrey : kPalette;
    } else {
        m_bitDepth = 8;
        m_colourType = bits == 32 ? kRgba : kRgb;
        m_paletteEntries = 0;
    }
}

bool CPngWriter::PaletteIsGreyRamp() const
{
    const unsigned step = 255 / ((1u << m_bitDepth) - 1);
    for (unsigned i = 0; i < m_paletteEntries; ++i) {
        const uint8_t* e = m_picture.Palette() + 3 * i;
        if (e[0] != i * step || e[1] != i * step || e[2] != i * step)
            return false;
    }
    return true;
}

void CPngWriter::WriteChunk(const char* type, const uint8_t* data, size_t n)
{
    uint8_t head[8];
    StoreBE32(head, uint32_t(n));
    std::memcpy(head + 4, type, 4);
    uint32_t crc = UpdateCrc32(0, head + 4, 4);
    crc = UpdateCrc32(crc, data, n);
    uint8_t tail[4];
    StoreBE32(tail, crc);
    if (!m_stream.Write(head, 8) || (n && !m_stream.Write(data, n)) || !m_stream.Write(tail, 4))
        ThrowWriteError();
}

void CPngWriter::Write()
{
    if ((kFilterMask & kFilterNone) == 0)
        throw EPngError("INTERNAL ERROR - No Filters Selected");
    CDeflater deflater;
    deflater.SetLevel(m_level);

    if (!m_stream.Write(kSignature, 8))
        ThrowWriteError();
    uint8_t header[13];
    StoreBE32(header, uint32_t(m_picture.Width()));
    StoreBE32(header + 4, uint32_t(m_picture.Height()));
    header[8] = uint8_t(m_bitDepth);
    header[9] = uint8_t(m_colourType);
    header[10] = header[11] = header[12] = 0;
    WriteChunk("IHDR", header, 13);

    if (m_colourType == kPalette) {
        std::vector<uint8_t> palette(size_t(m_paletteEntries) * 3);
        for (unsigned i = 0; i < m_paletteEntries; ++i) {
            const uint8_t* e = m_picture.Palette() + 3 * i;
            palette[3 * i] = e[2];
            palette[3 * i + 1] = e[1];
            palette[3 * i + 2] = e[0];
        }
        WriteChunk("PLTE", palette.data(), palette.size());
    }

    CIdatSink sink(*this);
    const uint8_t cmf = 0x78;
    const unsigned flg = unsigned(m_level) << 6;
    const uint8_t zlibHeader[2] = {cmf, uint8_t(flg + (31 - (cmf * 256u + flg) % 31) % 31)};
    sink.Write(zlibHeader, 2);
    // The deflater reads the rows twice only when its symbol record may not hold them.
    const uint64_t rowBytes = 1 + (uint64_t(m_picture.Width()) * m_bitDepth * Channels(m_colourType) + 7) / 8;
    CRowSource rows(*this, deflater.ReadsInputOnce(rowBytes * uint64_t(m_picture.Height())) ? 1 : 2);
    deflater.Deflate(rows, sink);
    uint8_t adler[4];
    StoreBE32(adler, deflater.Adler32());
    sink.Write(adler, 4);
    sink.Finish();
    WriteChunk("IEND", nullptr, 0);
}
