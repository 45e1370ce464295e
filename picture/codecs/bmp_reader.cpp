// Reading bitmap headers and uncompressed pixel rows. No header field is trusted: every size
// is checked against the bytes the stream holds before anything is allocated or read.
#include <algorithm>
#include <cstring>

#include "picture/codecs/bmp_codec.h"
#include "picture/codecs/bmp_format.h"
#include "picture/codecs/bmp_rle.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

namespace {

// Resolutions beyond this (about 25,000 dots per inch) only occur in damaged headers.
constexpr int32_t kMaxResolution = 1000000;
// Size fields may overstate the file by a few bytes (writers that count padding differently).
constexpr int64_t kSizeSlack = 64;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// The 40-byte header and its later versions (with colour masks, V4 and V5), whose first 40
// bytes have the same fields.
bool IsWindowsInfoHeader(uint32_t size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

void ReadOrThrow(CGraphicsStream& stream, void* buffer, size_t n)
{
    if (stream.Read(buffer, n) != n)
        throw EBmpFileReadError("Unexpected end of bitmap file");
}

// Colour table entries as palette colours (B, G, R), at most 2^bits of them.
struct ColourLookup {
    uint8_t colours[256][3] = {};
    unsigned count = 0;

    explicit ColourLookup(const BmpHeader& h)
    {
        count = std::min<unsigned>(h.TableEntries(), h.bits <= 8 ? 1u << h.bits : 0u);
        for (unsigned i = 0; i < count; ++i)
            std::memcpy(colours[i], &h.colourTable[i * h.entrySize], 3);
    }
};

// The picture takes the file's depth and colour table; pixels start black.
void PreparePicture(const BmpHeader& h, const ColourLookup& lookup, CPicture& picture)
{
    const bool reused = !picture.IsEmpty() && picture.Width() == int(h.width) && picture.Height() == int(h.height);
    if (!picture.Create(h.width, h.height))
        throw EBmpCorruptFile("Not enough memory for the bitmap");
    picture.DeleteAlpha();
    picture.ResizePalette(0);
    // A reused picture keeps its old pixels, but run-length data leaves pixels unpainted:
    // those start black again. (A new block is already zeroed.)
    if (reused && h.compression != kDibRgb)
        std::memset(picture.Bits(), 0, static_cast<size_t>(picture.Stride()) * h.height);
    picture.SetBitsPerPixel(static_cast<int>(h.bits));
    if (h.bits <= 8) {
        picture.ResizePalette(lookup.count);
        for (unsigned i = 0; i < lookup.count; ++i)
            picture.SetPaletteEntry(i, lookup.colours[i]);
    }
}

void ReportProgress(CQnProgress& progress, unsigned row, unsigned height)
{
    if (row % 10 == 0 && !progress.SetPos(static_cast<int64_t>(row) * 100 / height))
        throw EGraphicsAbort();
}

// Indexed rows: each pixel through the colour table; an index past the table is damage.
void ExpandIndexedRow(const uint8_t* src, unsigned width, unsigned bits, const ColourLookup& lookup, uint8_t* dst)
{
    unsigned worst = 0;
    for (unsigned x = 0; x < width; ++x, dst += 3) {
        unsigned index;
        if (bits == 8)
            index = src[x];
        else if (bits == 4)
            index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        else
            index = (src[x >> 3] >> (7 - (x & 7))) & 1;
        worst = std::max(worst, index);
        const uint8_t* c = lookup.colours[index];
        dst[0] = c[0];
        dst[1] = c[1];
        dst[2] = c[2];
    }
    if (worst >= lookup.count)
        throw EBmpCorruptFile("Colour index outside the colour table");
}

void ReadUncompressed(CGraphicsStream& stream, const BmpHeader& h, const ColourLookup& lookup, CPicture& picture,
                      CQnProgress& progress)
{
    const size_t stride = static_cast<size_t>(DibStride(h.width, h.bits));
    const size_t used = (static_cast<size_t>(h.width) * h.bits + 7) / 8;
    std::vector<uint8_t> row(h.bits == 24 ? 0 : stride);
    for (unsigned r = 0; r < h.height;) {
        ReportProgress(progress, r, h.height);
        if (h.bits == 24 && !h.topDown) {
            // The picture's block has the file's bottom-up layout: read up to 10 rows at once.
            const unsigned rows = std::min(10u, h.height - r);
            const size_t want = stride * rows;
            const size_t got = stream.Read(picture.Bits() + stride * r, want);
            if (got < want && (r + rows < h.height || got < want - stride + used))
                throw EBmpFileReadError("Short pixel row");
            std::memset(picture.Bits() + stride * r + got, 0, want - got);
            r += rows;
            continue;
        }
        uint8_t* dst = picture.Row(h.topDown ? r : h.height - 1 - r);
        if (h.bits == 24) {
            const size_t got = stream.Read(dst, stride);
            if (got < used)
                throw EBmpFileReadError("Short pixel row");
            std::memset(dst + got, 0, stride - got);
        } else {
            const size_t got = stream.Read(row.data(), stride);
            if (got < used)
                throw EBmpFileReadError("Short pixel row");
            ExpandIndexedRow(row.data(), h.width, h.bits, lookup, dst);
        }
        ++r;
    }
}

} // namespace

BmpHeader ReadBmpHeader(CGraphicsStream& stream)
{
    BmpHeader h;
    h.start = stream.Tell();
    h.length = stream.Length() - h.start;

    uint8_t file[kBmpFileHeaderSize];
    ReadOrThrow(stream, file, sizeof file);
    if (file[0] != 'B' || file[1] != 'M')
        throw EBmpNotABmpFile("Not a bitmap file");
    h.fileSize = U32(file + 2);
    h.dataOffset = U32(file + 10);

    uint8_t info[kBmpInfoHeaderSize];
    ReadOrThrow(stream, info, 4);
    h.headerSize = U32(info);
    if (IsWindowsInfoHeader(h.headerSize)) {
        ReadOrThrow(stream, info + 4, kBmpInfoHeaderSize - 4);
        uint8_t extension[128];
        ReadOrThrow(stream, extension, h.headerSize - kBmpInfoHeaderSize); // masks, colour space: unused
        const int32_t width = static_cast<int32_t>(U32(info + 4));
        const int32_t height = static_cast<int32_t>(U32(info + 8));
        if (width <= 0 || width > int32_t(CPicture::kMaxDimension) || height == 0 ||
            height < -int32_t(CPicture::kMaxDimension) || height > int32_t(CPicture::kMaxDimension))
            throw EBmpCorruptFile("Bitmap dimensions out of range");
        h.width = static_cast<unsigned>(width);
        h.topDown = height < 0;
        h.height = static_cast<unsigned>(height < 0 ? -height : height);
        if (U16(info + 12) != 1)
            throw EBmpCorruptFile("Bitmap with more than one plane");
        h.bits = U16(info + 14);
        h.compression = U32(info + 16);
        h.imageSize = U32(info + 20);
        h.xResolution = static_cast<int32_t>(U32(info + 24));
        h.yResolution = static_cast<int32_t>(U32(info + 28));
        h.coloursUsed = U32(info + 32);
        h.coloursImportant = U32(info + 36);
        h.entrySize = 4;
    } else if (h.headerSize == kBmpCoreHeaderSize) {
        ReadOrThrow(stream, info + 4, kBmpCoreHeaderSize - 4);
        h.width = U16(info + 4);
        h.height = U16(info + 6);
        if (h.width == 0 || h.height == 0)
            throw EBmpCorruptFile("Bitmap dimensions out of range");
        if (U16(info + 8) != 1)
            throw EBmpCorruptFile("Bitmap with more than one plane");
        h.bits = U16(info + 10);
        h.entrySize = 3;
    } else {
        throw EBmpCorruptFile("Unknown bitmap header size");
    }
    if (h.xResolution < 0 || h.yResolution < 0 || h.xResolution > kMaxResolution || h.yResolution > kMaxResolution)
        throw EBmpCorruptFile("Bitmap resolution out of range");
    if (h.fileSize > h.length + kSizeSlack || h.imageSize > h.length + kSizeSlack)
        throw EBmpCorruptFile("Bitmap sizes larger than the file");

    uint64_t entries = h.coloursUsed;
    if (entries == 0 && h.bits <= 8)
        entries = uint64_t(1) << h.bits;
    const uint64_t tableEnd = uint64_t(kBmpFileHeaderSize) + h.headerSize + entries * h.entrySize;
    if (tableEnd > uint64_t(h.length))
        throw EBmpCorruptFile("Colour table longer than the file");
    if (h.dataOffset < tableEnd || h.dataOffset > uint64_t(h.length))
        throw EBmpCorruptFile("Bitmap data offset outside the file");
    h.colourTable.resize(static_cast<size_t>(entries * h.entrySize));
    ReadOrThrow(stream, h.colourTable.data(), h.colourTable.size());
    return h;
}

bool IsSupportedBmp(const BmpHeader& h)
{
    switch (h.bits) {
    case 1: return h.compression == kDibRgb;
    case 4: return h.compression == kDibRgb || h.compression == kDibRle4;
    case 8: return h.compression == kDibRgb || h.compression == kDibRle8;
    case 24: return h.compression == kDibRgb;
    default: return false;
    }
}

void ReadBmpPixels(CGraphicsStream& stream, const BmpHeader& h, CPicture& picture, CQnProgress& progress)
{
    if (!IsSupportedBmp(h))
        throw EBmpNotSupported("Unsupported bitmap depth or compression");
    const bool runLength = h.compression != kDibRgb;
    if (runLength && h.topDown)
        throw EBmpCorruptFile("A run-length bitmap cannot be top-down");
    std::vector<uint8_t> runs;
    if (!runLength) {
        // The last row may lack its padding; everything before it must be there.
        const uint64_t stride = DibStride(h.width, h.bits);
        const uint64_t used = (uint64_t(h.width) * h.bits + 7) / 8;
        if (uint64_t(h.length - h.dataOffset) < stride * (h.height - 1) + used)
            throw EBmpFileReadError("The bitmap file is shorter than its pixel rows");
    } else {
        // Run-length data can describe many pixels per byte, but not without limit: a tiny file
        // never gets to allocate a huge picture.
        runs.resize(static_cast<size_t>(h.length - h.dataOffset));
        if (uint64_t(h.width) * h.height > (uint64_t(runs.size()) + 64) * kMaxRlePixelsPerByte)
            throw EBmpCorruptFile("Run-length data too short for the bitmap size");
    }
    if (stream.Seek(h.start + h.dataOffset, CGraphicsStream::kBegin) != h.start + h.dataOffset)
        throw EBmpFileReadError("Cannot reach the bitmap data");
    if (runLength)
        ReadOrThrow(stream, runs.data(), runs.size());

    const ColourLookup lookup(h);
    PreparePicture(h, lookup, picture);
    progress.SetRange(0, 100);
    if (runLength)
        DecodeBmpRle(runs, h.compression == kDibRle4 ? 4 : 8, lookup.count, lookup.colours, picture, progress);
    else
        ReadUncompressed(stream, h, lookup, picture, progress);
}

std::vector<uint8_t> ReadPackedDib(CGraphicsStream& stream)
{
    try {
        const BmpHeader h = ReadBmpHeader(stream);
        const unsigned entries = h.TableEntries();
        std::vector<uint8_t> block(kBmpInfoHeaderSize + size_t(entries) * 4, 0);
        DibHeader dib{};
        dib.biSize = kBmpInfoHeaderSize;
        dib.biWidth = static_cast<int32_t>(h.width);
        dib.biHeight = h.topDown ? -static_cast<int32_t>(h.height) : static_cast<int32_t>(h.height);
        dib.biPlanes = 1;
        dib.biBitCount = static_cast<uint16_t>(h.bits);
        if (h.headerSize != kBmpCoreHeaderSize) {
            dib.biCompression = h.compression;
            dib.biSizeImage = h.imageSize;
            dib.biXPelsPerMeter = h.xResolution;
            dib.biYPelsPerMeter = h.yResolution;
            dib.biClrUsed = h.coloursUsed;
            dib.biClrImportant = h.coloursImportant;
        }
        std::memcpy(block.data(), &dib, sizeof dib);
        for (unsigned i = 0; i < entries; ++i)
            std::memcpy(&block[kBmpInfoHeaderSize + i * 4], &h.colourTable[i * h.entrySize], 3);
        if (stream.Seek(h.start + h.dataOffset, CGraphicsStream::kBegin) < 0)
            return {};
        return block;
    } catch (const std::exception&) {
        return {};
    }
}
