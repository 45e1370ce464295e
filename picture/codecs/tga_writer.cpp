// Writing Targa files: 8-bit colour-mapped, 24-bit or 32-bit with an 8-bit alpha channel.
#include <algorithm>
#include <cstring>
#include <memory>

#include "picture/codecs/palette_index.h"
#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/tga_codec.h"

using namespace rastercodec;

namespace {

// Appends the run-length packets of one row of `count` pixels of `pixelBytes` each. Packets
// stay within the row; two or more equal pixels make a repeat packet.
void PackRow(const uint8_t* row, size_t count, unsigned pixelBytes, ByteSink& out)
{
    auto same = [&](size_t a, size_t b) { return std::memcmp(row + a * pixelBytes, row + b * pixelBytes, pixelBytes) == 0; };
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run))
            ++run;
        if (run >= 2) {
            out.U8(static_cast<uint8_t>(0x80 | (run - 1)));
            out.Append(row + i * pixelBytes, pixelBytes);
            i += run;
            continue;
        }
        size_t start = i, literal = 0;
        while (i < count && literal < 128 && !(i + 1 < count && same(i, i + 1))) {
            ++i;
            ++literal;
        }
        out.U8(static_cast<uint8_t>(literal - 1));
        out.Append(row + start * pixelBytes, literal * pixelBytes);
    }
}

} // namespace

int CTgaCodec::Write()
{
    CPicture& picture = *m_picture;
    const int width = picture.Width(), height = picture.Height();
    const int pictureDepth = picture.BitsPerPixel();
    // Depths below 8 are written colour-mapped with 8-bit indices.
    const int depth = pictureDepth == 32 ? 32 : (pictureDepth <= 8 && picture.PaletteSize() > 0) ? 8 : 24;
    const unsigned pixelBytes = static_cast<unsigned>(depth / 8);
    const bool runLength = m_writeOption;
    const bool mapped = depth == 8;

    ByteSink out;
    out.U8(0);                                   // no image ID
    out.U8(mapped ? 1 : 0);                      // colour map type
    out.U8(static_cast<uint8_t>((mapped ? 1 : 2) | (runLength ? 8 : 0)));
    out.U16LE(0);                                // first colour map entry
    out.U16LE(mapped ? 256 : 0);                 // colour map length
    out.U8(mapped ? 24 : 0);                     // colour map entry size
    out.U16LE(0);                                // X origin
    out.U16LE(0);                                // Y origin
    out.U16LE(static_cast<uint16_t>(width));
    out.U16LE(static_cast<uint16_t>(height));
    out.U8(static_cast<uint8_t>(depth));
    out.U8(static_cast<uint8_t>((depth == 32 ? 8 : 0) | (m_topDown ? 0x20 : 0)));
    if (mapped) {
        const unsigned known = std::min(picture.PaletteSize(), 256u);
        out.Append(picture.Palette(), known * 3);
        out.Zeros((256 - known) * 3);
    }

    std::unique_ptr<PaletteIndex> index;
    if (mapped)
        index = std::make_unique<PaletteIndex>(picture, 256);
    std::vector<uint8_t> row(size_t(width) * pixelBytes);
    Progress().SetRange(0, height);
    for (int r = 0; r < height; ++r) {
        if (r % 20 == 0 && !Progress().SetPos(r))
            throw EGraphicsAbort();
        const int y = m_topDown ? r : height - 1 - r;
        const uint8_t* src = picture.Row(y);
        if (mapped) {
            index->MapRow(src, width, row.data());
        } else if (depth == 24) {
            std::memcpy(row.data(), src, row.size());
        } else {
            const uint8_t* alpha = picture.HasAlpha() ? picture.Alpha() + size_t(y) * width : nullptr;
            uint8_t* dst = row.data();
            for (int x = 0; x < width; ++x, src += 3, dst += 4) {
                std::memcpy(dst, src, 3);
                dst[3] = alpha ? alpha[x] : 255;
            }
        }
        if (runLength)
            PackRow(row.data(), size_t(width), pixelBytes, out);
        else
            out.Append(row.data(), row.size());
    }
    WriteAll(*m_stream, out.Bytes());
    return 1;
}
