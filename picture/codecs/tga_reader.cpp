// Reading Targa files: colour-mapped (types 1 and 9), true colour (2 and 10) and grey
// (3 and 11), raw or run-length coded, with the origin given by the descriptor.
#include <algorithm>
#include <cstring>

#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/raster_picture.h"
#include "picture/codecs/tga_codec.h"

using namespace rastercodec;

namespace {

struct TgaHeader {
    uint8_t idLength, colourMapType, imageType;
    uint16_t mapFirst, mapLength;
    uint8_t mapEntrySize;
    uint16_t width, height;
    uint8_t depth, descriptor;
};

TgaHeader ReadHeader(ByteCursor& in)
{
    TgaHeader h;
    h.idLength = in.U8();
    h.colourMapType = in.U8();
    h.imageType = in.U8();
    h.mapFirst = in.U16LE();
    h.mapLength = in.U16LE();
    h.mapEntrySize = in.U8();
    in.Skip(4); // origin
    h.width = in.U16LE();
    h.height = in.U16LE();
    h.depth = in.U8();
    h.descriptor = in.U8();
    return h;
}

enum class Kind { kMapped, kTrueColour, kGrey, kUnknown };

Kind KindOf(const TgaHeader& h)
{
    const int type = h.imageType & ~8;
    const bool entrySizeOk = h.mapEntrySize == 15 || h.mapEntrySize == 16 || h.mapEntrySize == 24 || h.mapEntrySize == 32;
    if (type == 1 && h.colourMapType == 1 && h.depth == 8 && h.mapLength > 0 && entrySizeOk)
        return Kind::kMapped;
    if (type == 2 && h.colourMapType == 0 && (h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32))
        return Kind::kTrueColour;
    if (type == 3 && h.colourMapType == 0 && h.depth == 8)
        return Kind::kGrey;
    return Kind::kUnknown;
}

// B, G, R of a 5-5-5 pixel, each component widened to the full 8-bit range.
inline void Expand555(uint16_t v, uint8_t* bgr)
{
    const unsigned b = v & 31, g = v >> 5 & 31, r = v >> 10 & 31;
    bgr[0] = static_cast<uint8_t>(b << 3 | b >> 2);
    bgr[1] = static_cast<uint8_t>(g << 3 | g >> 2);
    bgr[2] = static_cast<uint8_t>(r << 3 | r >> 2);
}

// Run-length packets may run on from one row into the next, so the decoder keeps its state.
class RunLengthRows {
public:
    RunLengthRows(ByteCursor& in, unsigned pixelBytes) : m_in(in), m_pixelBytes(pixelBytes) {}

    void Decode(uint8_t* dst, size_t pixels)
    {
        while (pixels) {
            if (m_left == 0) {
                const uint8_t header = m_in.U8();
                m_left = (header & 0x7Fu) + 1;
                m_repeat = (header & 0x80) != 0;
                if (m_repeat)
                    std::memcpy(m_pixel, m_in.Take(m_pixelBytes), m_pixelBytes);
            }
            const size_t n = std::min<size_t>(m_left, pixels);
            if (m_repeat) {
                if (m_pixelBytes == 1) {
                    std::memset(dst, m_pixel[0], n);
                    dst += n;
                } else {
                    for (size_t i = 0; i < n; ++i, dst += m_pixelBytes)
                        std::memcpy(dst, m_pixel, m_pixelBytes);
                }
            } else {
                std::memcpy(dst, m_in.Take(n * m_pixelBytes), n * m_pixelBytes);
                dst += n * m_pixelBytes;
            }
            m_left -= static_cast<unsigned>(n);
            pixels -= n;
        }
    }

private:
    ByteCursor& m_in;
    unsigned m_pixelBytes;
    unsigned m_left = 0;
    bool m_repeat = false;
    uint8_t m_pixel[4] = {};
};

void FillColourMap(const uint8_t* map, const TgaHeader& h, CPicture& picture)
{
    const unsigned entryBytes = (h.mapEntrySize + 7u) / 8;
    for (unsigned index = 0; index < 256; ++index) {
        if (index < h.mapFirst || index - h.mapFirst >= h.mapLength)
            continue;
        const uint8_t* e = map + (index - h.mapFirst) * entryBytes;
        uint8_t bgr[3];
        if (entryBytes == 2)
            Expand555(LoadU16LE(e), bgr);
        else
            std::memcpy(bgr, e, 3);
        picture.SetPaletteEntry(index, bgr);
    }
}

size_t MapBytes(const TgaHeader& h, Kind kind)
{
    return kind == Kind::kMapped ? size_t(h.mapLength) * ((h.mapEntrySize + 7u) / 8) : 0;
}

// Whether the data from `in` holds `pixels` pixels: raw, or as complete run-length packets.
bool PixelDataFits(const ByteCursor& in, uint64_t pixels, unsigned pixelBytes, bool runLength)
{
    if (!runLength)
        return in.Remaining() / pixelBytes >= pixels;
    const uint8_t* p = in.Data() + in.Pos();
    const uint8_t* end = in.Data() + in.Size();
    // Every packet of at least two bytes gives at most 128 pixels: refuse a hopeless file
    // before walking it.
    if (pixels > uint64_t(end - p) * 64 + 128)
        return false;
    uint64_t counted = 0;
    while (counted < pixels) {
        if (p == end)
            return false;
        const uint8_t header = *p++;
        const size_t count = (header & 0x7Fu) + 1;
        const size_t bytes = header & 0x80 ? pixelBytes : count * pixelBytes;
        if (size_t(end - p) < bytes)
            return false;
        p += bytes;
        counted += count;
    }
    return true;
}

// Turns one row of file pixels into picture pixels (left to right).
void ConvertRow(const uint8_t* src, unsigned pixelBytes, int width, const uint8_t* palette, uint8_t* dst,
                uint8_t* alpha)
{
    switch (pixelBytes) {
    case 1:
        for (int x = 0; x < width; ++x, dst += 3)
            std::memcpy(dst, palette + src[x] * 3, 3);
        break;
    case 2:
        for (int x = 0; x < width; ++x, dst += 3, src += 2)
            Expand555(LoadU16LE(src), dst);
        break;
    case 3:
        std::memcpy(dst, src, size_t(width) * 3);
        break;
    default:
        for (int x = 0; x < width; ++x, dst += 3, src += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            alpha[x] = src[3];
        }
        break;
    }
}

void MirrorRow(uint8_t* row, uint8_t* alpha, int width)
{
    for (int a = 0, b = width - 1; a < b; ++a, --b) {
        std::swap_ranges(row + a * 3, row + a * 3 + 3, row + b * 3);
        if (alpha)
            std::swap(alpha[a], alpha[b]);
    }
}

} // namespace

int CTgaCodec::Read()
{
    const std::vector<uint8_t> file = ReadRemainingBytes(*m_stream);
    if (file.size() < 18)
        return 0;
    ByteCursor in(file);
    const TgaHeader h = ReadHeader(in);
    const Kind kind = KindOf(h);
    if (kind == Kind::kUnknown || h.width == 0 || h.height == 0)
        return 0;
    const bool runLength = (h.imageType & 8) != 0;
    const int bits = kind != Kind::kTrueColour ? 8 : h.depth == 32 ? 32 : 24;
    m_pingWidth = h.width;
    m_pingHeight = h.height;
    m_pingBits = bits;
    m_infoText = std::string("TGA - Truevision Targa. ") +
                 (kind == Kind::kMapped ? "Palette : Color Map." : kind == Kind::kGrey ? "Palette : Grayscale." : "Palette : True Color.") +
                 (runLength ? " Compression : Run Length Encoding." : " Compression : None.");

    // The format has no signature, so the probe also asks for the whole pixel data, as the
    // reader does: a header-sized scrap of foreign data is no Targa picture.
    if (file.size() - in.Pos() < size_t(h.idLength) + MapBytes(h, kind))
        return 0;
    in.Skip(h.idLength);
    const uint8_t* map = kind == Kind::kMapped ? in.Take(MapBytes(h, kind)) : nullptr;
    const unsigned pixelBytes = (h.depth + 7u) / 8;
    const uint64_t pixels = uint64_t(h.width) * h.height;
    if (!PixelDataFits(in, pixels, pixelBytes, runLength))
        return 0;
    if (!m_picture)
        return 1;
    PreparePicture(*m_picture, h.width, h.height, bits);
    if (map)
        FillColourMap(map, h, *m_picture);
    if (kind == Kind::kGrey)
        for (unsigned i = 0; i < 256; ++i) {
            const uint8_t grey[3] = {uint8_t(i), uint8_t(i), uint8_t(i)};
            m_picture->SetPaletteEntry(i, grey);
        }

    const bool topDown = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
    const int width = h.width, height = h.height;
    std::vector<uint8_t> buffer(size_t(width) * pixelBytes);
    RunLengthRows packets(in, pixelBytes);
    Progress().SetRange(0, height);
    for (int r = 0; r < height; ++r) {
        ReportRow(r);
        const int y = topDown ? r : height - 1 - r;
        uint8_t* dst = m_picture->Row(y);
        uint8_t* alpha = bits == 32 ? m_picture->AlphaRow(y) : nullptr;
        const uint8_t* src;
        if (runLength) {
            // 24-bit pixels are already in the picture's order: decode them in place.
            uint8_t* target = pixelBytes == 3 ? dst : buffer.data();
            packets.Decode(target, size_t(width));
            src = target;
        } else {
            src = in.Take(buffer.size());
        }
        if (src != dst)
            ConvertRow(src, pixelBytes, width, m_picture->Palette(), dst, alpha);
        if (rightToLeft)
            MirrorRow(dst, alpha, width);
    }
    return 1;
}
