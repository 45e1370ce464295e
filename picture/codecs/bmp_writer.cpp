// Writing Windows bitmaps: 24 bits straight from the picture's block, 1 and 4 bits through
// the picture's palette, 8 bits uncompressed or RLE8 with a 256-entry colour table.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "base/progress.h"
#include "picture/codecs/bmp_format.h"
#include "picture/codecs/bmp_rle.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"

namespace {

constexpr uint32_t kHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize; // 54

class Output {
public:
    explicit Output(CGraphicsStream& stream) : m_stream(stream) {}
    void Bytes(const void* data, size_t n)
    {
        if (n && !m_stream.Write(data, n))
            throw EGraphicsException("Cannot write the bitmap file");
    }
    void U16(uint16_t v)
    {
        if (!m_stream.WriteU16LE(v))
            throw EGraphicsException("Cannot write the bitmap file");
    }
    void U32(uint32_t v)
    {
        if (!m_stream.WriteU32LE(v))
            throw EGraphicsException("Cannot write the bitmap file");
    }

    // "BM" file header and a 40-byte information header; fields after the depth are zero
    // except compression and image size.
    void Headers(uint32_t fileSize, uint32_t dataOffset, const CPicture& picture, unsigned bits,
                 uint32_t compression = 0, uint32_t imageSize = 0)
    {
        Bytes("BM", 2);
        U32(fileSize);
        U32(0);
        U32(dataOffset);
        U32(kBmpInfoHeaderSize);
        U32(static_cast<uint32_t>(picture.Width()));
        U32(static_cast<uint32_t>(picture.Height()));
        U16(1);
        U16(static_cast<uint16_t>(bits));
        U32(compression);
        U32(imageSize);
        for (int i = 0; i < 4; ++i)
            U32(0);
    }

    // `entries` colour table entries B, G, R, 0 from the palette, black past its end.
    void ColourTable(const CPicture& picture, unsigned entries)
    {
        std::vector<uint8_t> table(size_t(entries) * 4, 0);
        for (unsigned i = 0; i < entries; ++i)
            picture.GetPaletteEntry(i, &table[i * 4]);
        Bytes(table.data(), table.size());
    }

private:
    CGraphicsStream& m_stream;
};

class ProgressLevel {
public:
    explicit ProgressLevel(CQnProgress& sink) : m_sink(sink), m_depth(sink.Nesting()) { m_sink.Begin(); }
    ~ProgressLevel() { m_sink.RestoreNesting(m_depth); }

private:
    CQnProgress& m_sink;
    int m_depth;
};

uint32_t KeyOf(const uint8_t* bgr) { return uint32_t(bgr[0]) << 16 | uint32_t(bgr[1]) << 8 | bgr[2]; }

// Palette index of each pixel colour: the first entry of exactly that colour, else (8 bits
// only) the nearest entry by the weighted distance of the colour reduction.
class PaletteIndexer {
public:
    PaletteIndexer(const CPicture& picture, unsigned entries, bool nearestWhenMissing)
        : m_nearest(nearestWhenMissing)
    {
        m_count = std::min(entries, picture.PaletteSize());
        for (unsigned i = 0; i < m_count; ++i) {
            const uint8_t* e = picture.Palette() + i * 3;
            m_palette.insert(m_palette.end(), e, e + 3);
            m_known.emplace(KeyOf(e), static_cast<uint8_t>(i)); // the first entry wins
        }
    }

    uint8_t IndexOf(const uint8_t* bgr)
    {
        const uint32_t key = KeyOf(bgr);
        if (key == m_lastKey)
            return m_lastIndex;
        auto it = m_known.find(key);
        uint8_t index = 0;
        if (it != m_known.end())
            index = it->second;
        else if (m_nearest && m_count)
            index = m_known.emplace(key, Nearest(bgr)).first->second;
        m_lastKey = key;
        m_lastIndex = index;
        return index;
    }

private:
    uint8_t Nearest(const uint8_t* bgr) const
    {
        unsigned best = 0;
        long bestDistance = -1;
        for (unsigned i = 0; i < m_count; ++i) {
            const uint8_t* e = &m_palette[i * 3];
            const long d = 587L * std::abs(bgr[1] - e[1]) + 299L * std::abs(bgr[2] - e[2]) + 114L * std::abs(bgr[0] - e[0]);
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return static_cast<uint8_t>(best);
    }

    bool m_nearest;
    unsigned m_count = 0;
    std::vector<uint8_t> m_palette;
    std::unordered_map<uint32_t, uint8_t> m_known;
    uint32_t m_lastKey = 0xFFFFFFFF;
    uint8_t m_lastIndex = 0;
};

void MapRow(const CPicture& picture, int y, PaletteIndexer& indexer, uint8_t* indices)
{
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3)
        indices[x] = indexer.IndexOf(p);
}

void ReportRow(CQnProgress& progress, int row)
{
    if (row % 10 == 0)
        progress.SetPos(row); // these writers are not cancelled half-way
}

} // namespace

void WriteBmp24(CGraphicsStream& stream, CPicture& picture, CQnProgress& progress)
{
    ProgressLevel level(progress);
    const uint32_t stride = picture.Stride();
    const unsigned height = static_cast<unsigned>(picture.Height());
    const uint64_t fileSize = uint64_t(stride) * height + kHeadersSize;
    if (fileSize > 0xFFFFFFFFull)
        throw EGraphicsException("Bitmap too large for the file format");
    Output out(stream);
    out.Headers(static_cast<uint32_t>(fileSize), kHeadersSize, picture, 24);
    progress.SetText("Saving 24 bits BMP picture...");
    progress.SetRange(0, height);
    // The block is bottom-up like the file: write it in slices of about 4 MiB (whole tens of
    // rows), reporting every 10 rows.
    const unsigned slice = std::max(10u, static_cast<unsigned>((4u << 20) / std::max(stride, 1u)) / 10 * 10);
    for (unsigned row = 0; row < height; row += slice) {
        const unsigned rows = std::min(slice, height - row);
        for (unsigned r = row; r < row + rows; r += 10)
            ReportRow(progress, static_cast<int>(r));
        out.Bytes(picture.Bits() + size_t(stride) * row, size_t(stride) * rows);
    }
}

void WriteBmpLowDepth(CGraphicsStream& stream, CPicture& picture, unsigned bits, CQnProgress& progress)
{
    if (bits != 1 && bits != 4)
        throw EBmpNotSupported("Unsupported bitmap depth");
    ProgressLevel level(progress);
    // The table always has 2^bits entries (padded with black), as readers expect of a table
    // whose colours-used field is 0.
    const unsigned entries = 1u << bits;
    const int width = picture.Width(), height = picture.Height();
    const uint32_t rowBytes = static_cast<uint32_t>(DibStride(static_cast<unsigned>(width), bits));
    const uint32_t offset = kHeadersSize + entries * 4;
    Output out(stream);
    out.Headers(offset + rowBytes * static_cast<uint32_t>(height), offset, picture, bits);
    out.ColourTable(picture, entries);

    progress.SetRange(0, height);
    PaletteIndexer indexer(picture, entries, false);
    std::vector<uint8_t> indices(width), row(rowBytes);
    for (int r = 0; r < height; ++r) {
        ReportRow(progress, r);
        MapRow(picture, height - 1 - r, indexer, indices.data());
        std::fill(row.begin(), row.end(), 0);
        const unsigned perByte = 8 / bits;
        for (int x = 0; x < width; ++x)
            row[x / perByte] |= static_cast<uint8_t>(indices[x] << (8 - bits * (x % perByte + 1)));
        out.Bytes(row.data(), row.size());
    }
}

void WriteBmp8(CGraphicsStream& stream, CPicture& picture, bool runLength, CQnProgress& progress)
{
    ProgressLevel level(progress);
    const int width = picture.Width(), height = picture.Height();
    if (picture.BitsPerPixel() != 8 &&
        !ReduceColours(picture, 0, 0, width, height, 256, kMapDiffuse, &progress))
        throw EGraphicsAbort();

    const uint32_t offset = kHeadersSize + 256 * 4; // 1078
    Output out(stream);
    std::vector<uint8_t> placeholder(kHeadersSize, 0);
    out.Bytes(placeholder.data(), placeholder.size());
    out.ColourTable(picture, 256);

    progress.SetText(runLength ? "Saving 8 bits RLE BMP file..." : "Saving 8 bits BMP file...");
    progress.SetRange(0, height);
    PaletteIndexer indexer(picture, 256, true);
    const uint32_t rowBytes = static_cast<uint32_t>(DibStride(static_cast<unsigned>(width), 8));
    std::vector<uint8_t> indices(rowBytes, 0), codes;
    uint64_t dataBytes = 0;
    for (int r = 0; r < height; ++r) {
        ReportRow(progress, r);
        MapRow(picture, height - 1 - r, indexer, indices.data());
        if (runLength) {
            codes.clear();
            EncodeRle8Row(indices.data(), static_cast<unsigned>(width), codes);
            if (r == height - 1)
                codes.insert(codes.end(), {0, 1}); // end of bitmap
            out.Bytes(codes.data(), codes.size());
            dataBytes += codes.size();
        } else {
            out.Bytes(indices.data(), rowBytes);
            dataBytes += rowBytes;
        }
    }
    if (dataBytes + offset > 0xFFFFFFFFull)
        throw EGraphicsException("Bitmap too large for the file format");

    stream.Rewind();
    out.Headers(static_cast<uint32_t>(dataBytes) + offset, offset, picture, 8, runLength ? kDibRle8 : kDibRgb,
                static_cast<uint32_t>(dataBytes));
}
