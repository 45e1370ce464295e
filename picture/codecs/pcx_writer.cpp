// Writing PCX files: 4-bit (one plane, 16-colour header palette), 8-bit (palette at the end)
// or 24-bit (red, green and blue planes).
#include <algorithm>
#include <memory>

#include "picture/codecs/palette_index.h"
#include "picture/codecs/pcx_codec.h"
#include "picture/codecs/raster_bytes.h"

using namespace rastercodec;

namespace {

// Run-length codes one plane line: runs of 2 to 63 equal bytes as 0xC0 + count and the byte,
// single bytes below 0xC0 as they are, other single bytes as 0xC1 and the byte.
void PackLine(const uint8_t* line, size_t n, ByteSink& out)
{
    size_t i = 0;
    while (i < n) {
        const uint8_t value = line[i];
        size_t run = 1;
        while (i + run < n && run < 63 && line[i + run] == value)
            ++run;
        if (run == 1 && value < 0xC0) {
            out.U8(value);
        } else {
            out.U8(static_cast<uint8_t>(0xC0 | run));
            out.U8(value);
        }
        i += run;
    }
}

} // namespace

int CPcxCodec::Write()
{
    CPicture& picture = *m_picture;
    const int width = picture.Width(), height = picture.Height();
    const int pictureDepth = picture.BitsPerPixel();
    const bool hasPalette = picture.PaletteSize() > 0;
    const int depth = (pictureDepth == 4 || pictureDepth == 8) && hasPalette ? pictureDepth : 24;
    const int planes = depth == 24 ? 3 : 1;
    const size_t bytesPerLine = (size_t(depth) * width + 7) / 8 / planes;

    ByteSink out;
    out.U8(10); // manufacturer
    out.U8(5);  // version 3.0 with palette
    out.U8(1);  // run-length encoding
    out.U8(static_cast<uint8_t>(depth == 24 ? 8 : depth));
    out.U16LE(0);
    out.U16LE(0);
    out.U16LE(static_cast<uint16_t>(width - 1));
    out.U16LE(static_cast<uint16_t>(height - 1));
    out.U16LE(static_cast<uint16_t>(width));
    out.U16LE(static_cast<uint16_t>(height));
    uint8_t palette16[48] = {};
    if (depth != 24 && picture.PaletteSize() <= 16)
        for (unsigned i = 0; i < picture.PaletteSize(); ++i)
            for (int c = 0; c < 3; ++c)
                palette16[i * 3 + c] = picture.Palette()[i * 3 + 2 - c];
    out.Append(palette16, sizeof palette16);
    out.U8(0); // reserved
    out.U8(static_cast<uint8_t>(planes));
    out.U16LE(static_cast<uint16_t>(bytesPerLine));
    out.U16LE(1); // colour palette
    out.Zeros(128 - out.Size());

    std::unique_ptr<PaletteIndex> index;
    if (depth != 24)
        index = std::make_unique<PaletteIndex>(picture, 1u << depth);
    std::vector<uint8_t> line(bytesPerLine * planes), indices(width);
    Progress().SetRange(0, height);
    for (int y = 0; y < height; ++y) {
        if (!Progress().SetPos(y))
            throw EGraphicsAbort();
        const uint8_t* src = picture.Row(y);
        std::fill(line.begin(), line.end(), 0);
        if (depth == 24) {
            for (int x = 0; x < width; ++x, src += 3) {
                line[x] = src[2];
                line[bytesPerLine + x] = src[1];
                line[2 * bytesPerLine + x] = src[0];
            }
        } else if (depth == 8) {
            index->MapRow(src, width, line.data());
        } else {
            index->MapRow(src, width, indices.data());
            for (int x = 0; x < width; ++x)
                line[x >> 1] |= static_cast<uint8_t>(indices[x] << (x & 1 ? 0 : 4));
        }
        for (int p = 0; p < planes; ++p)
            PackLine(line.data() + p * bytesPerLine, bytesPerLine, out);
    }
    if (depth == 8) {
        out.U8(12);
        const unsigned known = std::min(picture.PaletteSize(), 256u);
        for (unsigned i = 0; i < 256; ++i)
            for (int c = 2; c >= 0; --c)
                out.U8(i < known ? picture.Palette()[i * 3 + c] : 0);
    }
    WriteAll(*m_stream, out.Bytes());
    return 1;
}
