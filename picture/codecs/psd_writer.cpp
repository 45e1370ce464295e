// Writing Photoshop files: indexed (8-bit pictures), RGB or RGB plus an alpha channel.
#include <algorithm>
#include <memory>

#include "picture/codecs/packbits_coder.h"
#include "picture/codecs/palette_index.h"
#include "picture/codecs/psd_codec.h"
#include "picture/codecs/raster_bytes.h"

// GCC 12 (mingw) reports false overflows for the header bytes appended to a fresh vector
// after inlining; the sizes here are all checked.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif

using namespace rastercodec;

int CPsdCodec::Write()
{
    CPicture& picture = *m_picture;
    const int width = picture.Width(), height = picture.Height();
    const int pictureDepth = picture.BitsPerPixel();
    const bool indexed = pictureDepth <= 8 && picture.PaletteSize() > 0;
    const unsigned channels = indexed ? 1 : pictureDepth == 32 ? 4 : 3;

    // The channel planes, one row after the other, channel after channel.
    std::unique_ptr<PaletteIndex> index;
    if (indexed)
        index = std::make_unique<PaletteIndex>(picture, 256);
    const size_t rows = size_t(height) * channels;
    std::vector<uint8_t> planes(rows * width);
    Progress().SetRange(0, height);
    for (int y = 0; y < height; ++y) {
        ReportRow(y);
        const uint8_t* src = picture.Row(y);
        if (indexed) {
            index->MapRow(src, width, planes.data() + size_t(y) * width);
            continue;
        }
        const uint8_t* alpha = picture.HasAlpha() ? picture.Alpha() + size_t(y) * width : nullptr;
        for (int x = 0; x < width; ++x, src += 3)
            for (unsigned c = 0; c < channels; ++c)
                planes[(size_t(c) * height + y) * width + x] = c < 3 ? src[2 - c] : alpha ? alpha[x] : 255;
    }

    // PackBits rows, unless one of them would not fit the table's 16-bit byte count.
    bool packed = m_writeOption;
    std::vector<uint8_t> packedData;
    std::vector<uint16_t> counts;
    if (packed) {
        counts.reserve(rows);
        for (size_t r = 0; r < rows && packed; ++r) {
            const size_t before = packedData.size();
            PackBits(planes.data() + r * width, width, packedData);
            const size_t size = packedData.size() - before;
            packed = size <= 0xFFFF;
            counts.push_back(static_cast<uint16_t>(size));
        }
    }

    ByteSink out;
    out.Append(reinterpret_cast<const uint8_t*>("8BPS"), 4);
    out.U16BE(1);
    out.Zeros(6);
    out.U16BE(static_cast<uint16_t>(channels));
    out.U32BE(static_cast<uint32_t>(height));
    out.U32BE(static_cast<uint32_t>(width));
    out.U16BE(8);
    out.U16BE(indexed ? 2 : 3);
    if (indexed) {
        out.U32BE(768);
        const unsigned known = std::min(picture.PaletteSize(), 256u);
        for (int c = 2; c >= 0; --c) // all reds, then greens, then blues
            for (unsigned i = 0; i < 256; ++i)
                out.U8(i < known ? picture.Palette()[i * 3 + c] : 0);
    } else {
        out.U32BE(0);
    }
    out.U32BE(0); // image resources
    out.U32BE(0); // layer and mask information
    out.U16BE(packed ? 1 : 0);
    WriteAll(*m_stream, out.Bytes());
    if (packed) {
        ByteSink table;
        for (uint16_t count : counts)
            table.U16BE(count);
        WriteAll(*m_stream, table.Bytes());
        WriteAll(*m_stream, packedData);
    } else {
        WriteAll(*m_stream, planes);
    }
    return 1;
}
