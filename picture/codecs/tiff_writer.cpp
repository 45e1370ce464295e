// Writing a baseline TIFF file: palette, RGB or RGB with alpha, in strips, PackBits-coded
// when the write option is on.
#include <algorithm>
#include <memory>
#include <vector>

#include "picture/codecs/packbits_coder.h"
#include "picture/codecs/palette_index.h"
#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/tiff_codec.h"

using namespace rastercodec;

namespace {

enum FieldType : uint16_t { kShort = 3, kLong = 4, kRational = 5 };

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value; // the value itself (count 1, or 2 SHORTs in `value2`) or the offset of the array
    uint32_t value2 = 0;
    bool inline_ = true;
};

// Byte-order aware output.
class TiffSink {
public:
    explicit TiffSink(bool bigEndian) : m_bigEndian(bigEndian) {}
    void U16(uint16_t v) { m_bigEndian ? m_sink.U16BE(v) : m_sink.U16LE(v); }
    void U32(uint32_t v) { m_bigEndian ? m_sink.U32BE(v) : m_sink.U32LE(v); }
    void Append(const std::vector<uint8_t>& bytes) { m_sink.Append(bytes.data(), bytes.size()); }
    void PadToEven()
    {
        if (m_sink.Size() & 1)
            m_sink.U8(0);
    }
    uint32_t Pos() const
    {
        if (m_sink.Size() > 0xFFFFFFF0u)
            throw EGraphicsException("Picture too large for a TIFF file");
        return static_cast<uint32_t>(m_sink.Size());
    }
    std::vector<uint8_t>& Bytes() { return m_sink.Bytes(); }

private:
    ByteSink m_sink;
    bool m_bigEndian;
};

// The file form chosen from the picture's depth.
struct Form {
    uint16_t photometric = 2;
    uint16_t samples = 3;
    uint16_t bits = 8; // per sample
};

Form ChooseForm(const CPicture& picture)
{
    const int depth = picture.BitsPerPixel();
    if (depth <= 8 && depth > 0 && picture.PaletteSize() > 0) {
        // Depth 2 has no baseline palette form; it is written with 4 bits per index.
        const uint16_t bits = depth == 1 ? 1 : depth <= 4 ? 4 : 8;
        return {3, 1, bits};
    }
    if (depth == 32)
        return {2, 4, 8};
    return {2, 3, 8};
}

// The raw bytes of row y in the chosen form.
void BuildRow(const CPicture& picture, int y, const Form& form, PaletteIndex* index, std::vector<uint8_t>& row,
              std::vector<uint8_t>& indices)
{
    const int width = picture.Width();
    const uint8_t* src = picture.Row(y);
    std::fill(row.begin(), row.end(), 0);
    if (form.photometric == 3) {
        index->MapRow(src, width, indices.data());
        for (int x = 0; x < width; ++x) {
            const unsigned bit = unsigned(x) * form.bits;
            row[bit >> 3] |= static_cast<uint8_t>(indices[x] << (8 - form.bits - (bit & 7)));
        }
        return;
    }
    const uint8_t* alpha = picture.HasAlpha() ? picture.Alpha() + size_t(y) * width : nullptr;
    uint8_t* dst = row.data();
    for (int x = 0; x < width; ++x, src += 3) {
        *dst++ = src[2];
        *dst++ = src[1];
        *dst++ = src[0];
        if (form.samples == 4)
            *dst++ = alpha ? alpha[x] : 255;
    }
}

} // namespace

int CTiffCodec::Write()
{
    CPicture& picture = *m_picture;
    const int width = picture.Width(), height = picture.Height();
    const Form form = ChooseForm(picture);
    const bool packBits = m_writeOption;
    const uint32_t strips = std::min<uint32_t>(m_strips, static_cast<uint32_t>(height));
    const uint32_t rowsPerStrip = (static_cast<uint32_t>(height) + strips - 1) / strips;
    const size_t rowBytes = (size_t(width) * form.bits * form.samples + 7) / 8;

    TiffSink out(m_bigEndian);
    const uint8_t order = m_bigEndian ? 'M' : 'I';
    out.Bytes().assign(2, order);
    out.U16(42);
    out.U32(0); // first IFD offset, filled in below

    uint32_t bitsOffset = 0;
    if (form.samples > 2) {
        bitsOffset = out.Pos();
        for (unsigned i = 0; i < form.samples; ++i)
            out.U16(form.bits);
    }
    const uint32_t xResOffset = out.Pos();
    out.U32(m_xDpi);
    out.U32(1);
    const uint32_t yResOffset = out.Pos();
    out.U32(m_yDpi);
    out.U32(1);

    uint32_t colorMapOffset = 0;
    const unsigned mapEntries = 1u << form.bits;
    if (form.photometric == 3) {
        // Components are stretched to the full 16-bit range (255 -> 65535), so every reader,
        // whether it takes the high byte or scales, gets the 8-bit value back.
        colorMapOffset = out.Pos();
        const uint8_t* palette = picture.Palette();
        const unsigned known = std::min(picture.PaletteSize(), mapEntries);
        for (int component = 2; component >= 0; --component) // red, green, blue
            for (unsigned i = 0; i < mapEntries; ++i)
                out.U16(i < known ? static_cast<uint16_t>(palette[i * 3 + component] * 257) : 0);
    }

    std::unique_ptr<PaletteIndex> index;
    if (form.photometric == 3)
        index = std::make_unique<PaletteIndex>(picture, mapEntries);
    std::vector<uint8_t> row(rowBytes), indices(width), packed;
    std::vector<uint32_t> offsets, counts;
    Progress().SetRange(0, height);
    for (uint32_t s = 0; s < strips; ++s) {
        out.PadToEven();
        const uint32_t start = out.Pos();
        const int first = static_cast<int>(s * rowsPerStrip);
        const int last = std::min(height, static_cast<int>((s + 1) * rowsPerStrip));
        for (int y = first; y < last; ++y) {
            ReportRow(y);
            BuildRow(picture, y, form, index.get(), row, indices);
            if (packBits) {
                packed.clear();
                PackBits(row.data(), row.size(), packed);
                out.Append(packed);
            } else {
                out.Append(row);
            }
        }
        offsets.push_back(start);
        counts.push_back(out.Pos() - start);
    }

    out.PadToEven();
    uint32_t offsetsOffset = 0, countsOffset = 0;
    if (strips > 1) {
        offsetsOffset = out.Pos();
        for (uint32_t v : offsets)
            out.U32(v);
        countsOffset = out.Pos();
        for (uint32_t v : counts)
            out.U32(v);
    }

    std::vector<Entry> entries = {
        {256, kLong, 1, static_cast<uint32_t>(width)},
        {257, kLong, 1, static_cast<uint32_t>(height)},
        {258, kShort, form.samples, form.samples > 2 ? bitsOffset : form.bits, form.samples == 2 ? form.bits : 0u,
         form.samples <= 2},
        {259, kShort, 1, packBits ? 32773u : 1u},
        {262, kShort, 1, form.photometric},
        {273, kLong, strips, strips > 1 ? offsetsOffset : offsets[0], 0, strips == 1},
        {277, kShort, 1, form.samples},
        {278, kLong, 1, rowsPerStrip},
        {279, kLong, strips, strips > 1 ? countsOffset : counts[0], 0, strips == 1},
        {282, kRational, 1, xResOffset, 0, false},
        {283, kRational, 1, yResOffset, 0, false},
        {296, kShort, 1, 1},
        {274, kShort, 1, 1},
    };
    if (form.photometric == 3)
        entries.push_back({320, kShort, 3 * mapEntries, colorMapOffset, 0, false});
    if (form.samples == 4)
        entries.push_back({338, kShort, 1, 0});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });

    const uint32_t ifdOffset = out.Pos();
    out.U16(static_cast<uint16_t>(entries.size()));
    for (const Entry& e : entries) {
        out.U16(e.tag);
        out.U16(e.type);
        out.U32(e.count);
        if (e.inline_ && e.type == kShort) {
            out.U16(static_cast<uint16_t>(e.value));
            out.U16(static_cast<uint16_t>(e.value2));
        } else {
            out.U32(e.value);
        }
    }
    out.U32(0);

    std::vector<uint8_t>& bytes = out.Bytes();
    const uint8_t ifd[4] = {uint8_t(ifdOffset), uint8_t(ifdOffset >> 8), uint8_t(ifdOffset >> 16), uint8_t(ifdOffset >> 24)};
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = m_bigEndian ? ifd[3 - i] : ifd[i];
    WriteAll(*m_stream, bytes);
    return 1;
}
