#include "picture/codecs/tiff_directory.h"

#include "picture/codecs/raster_bytes.h"

namespace rastercodec {
namespace {

enum Tag : uint16_t {
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kFillOrder = 266,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kPlanarConfiguration = 284,
    kPredictor = 317,
    kTileWidth = 322,
    kTileOffsets = 324,
    kColorMap = 320,
    kExtraSamples = 338,
};

// Bytes of one value of each field type (0: unknown type).
size_t TypeSize(uint16_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;         // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                         // SHORT, SSHORT
    case 4: case 9: case 11: case 13: return 4;       // LONG, SLONG, FLOAT, IFD
    case 5: case 10: case 12: return 8;               // RATIONAL, SRATIONAL, DOUBLE
    default: return 0;
    }
}

class DirectoryReader {
public:
    DirectoryReader(const uint8_t* data, size_t size, bool bigEndian)
        : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

    uint16_t U16(size_t at) const
    {
        Check(at, 2);
        return m_bigEndian ? LoadU16BE(m_data + at) : LoadU16LE(m_data + at);
    }
    uint32_t U32(size_t at) const
    {
        Check(at, 4);
        return m_bigEndian ? LoadU32BE(m_data + at) : LoadU32LE(m_data + at);
    }

    // The integer values of the entry at `entry`; empty for types that hold no integers.
    std::vector<uint32_t> Values(size_t entry) const
    {
        const uint16_t type = U16(entry + 2);
        const uint32_t count = U32(entry + 4);
        const size_t size = TypeSize(type);
        if (size == 0 || size > 4 || type == 2)
            return {};
        if (count > m_size / size)
            FailCorrupt("TIFF field longer than the file");
        const size_t bytes = size * count;
        const size_t at = bytes <= 4 ? entry + 8 : U32(entry + 8);
        Check(at, bytes);
        std::vector<uint32_t> values(count);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t p = at + i * size;
            switch (type) {
            case 1: case 7: values[i] = m_data[p]; break;
            case 6: values[i] = static_cast<uint32_t>(int32_t(int8_t(m_data[p]))); break;
            case 3: values[i] = U16(p); break;
            case 8: values[i] = static_cast<uint32_t>(int32_t(int16_t(U16(p)))); break;
            default: values[i] = U32(p); break;
            }
        }
        return values;
    }

    uint32_t First(size_t entry) const
    {
        std::vector<uint32_t> values = Values(entry);
        if (values.empty())
            FailCorrupt("TIFF field without a value");
        return values[0];
    }

private:
    void Check(size_t at, size_t n) const
    {
        if (at > m_size || n > m_size - at)
            FailCorrupt("TIFF directory points outside the file");
    }

    const uint8_t* m_data;
    size_t m_size;
    bool m_bigEndian;
};

} // namespace

uint32_t TiffDirectory::Samples() const
{
    if (samplesPerPixel)
        return samplesPerPixel;
    return photometric == kTiffRgb ? 3 : 1;
}

TiffDirectory ReadTiffDirectory(const uint8_t* data, size_t size)
{
    if (size < 8)
        FailCorrupt("not a TIFF file");
    TiffDirectory dir;
    if (data[0] == 'I' && data[1] == 'I')
        dir.bigEndian = false;
    else if (data[0] == 'M' && data[1] == 'M')
        dir.bigEndian = true;
    else
        FailCorrupt("not a TIFF file");
    DirectoryReader reader(data, size, dir.bigEndian);
    if (reader.U16(2) != 42)
        FailCorrupt("not a TIFF file");

    const size_t ifd = reader.U32(4);
    const uint16_t count = reader.U16(ifd);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        switch (reader.U16(entry)) {
        case kImageWidth: dir.width = reader.First(entry); break;
        case kImageLength: dir.height = reader.First(entry); break;
        case kBitsPerSample: dir.bitsPerSample = reader.Values(entry); break;
        case kCompression: dir.compression = reader.First(entry); break;
        case kPhotometric:
            dir.photometric = reader.First(entry);
            dir.hasPhotometric = true;
            break;
        case kFillOrder: dir.fillOrder = reader.First(entry); break;
        case kStripOffsets: dir.stripOffsets = reader.Values(entry); break;
        case kSamplesPerPixel: dir.samplesPerPixel = reader.First(entry); break;
        case kRowsPerStrip: dir.rowsPerStrip = reader.First(entry); break;
        case kStripByteCounts: dir.stripByteCounts = reader.Values(entry); break;
        case kPlanarConfiguration: dir.planarConfiguration = reader.First(entry); break;
        case kPredictor: dir.predictor = reader.First(entry); break;
        case kTileWidth: case kTileOffsets: dir.tiled = true; break;
        case kColorMap: dir.colorMap = reader.Values(entry); break;
        case kExtraSamples: dir.extraSamples = reader.Values(entry); break;
        default: break; // descriptive tags are not needed to decode the picture
        }
    }
    return dir;
}

std::string TiffInfoText(const TiffDirectory& directory)
{
    const char* compression = nullptr;
    switch (directory.compression) {
    case kTiffNone: compression = "Compression : None."; break;
    case kTiffCcittHuffman: compression = "Compression : CCITT."; break;
    case kTiffCcittFax3: compression = "Compression : CCITT Fax Group 3."; break;
    case kTiffLzw: compression = "Compression : LZW."; break;
    case kTiffPackBits: compression = "Compression : Pack Bits (RLE)."; break;
    default: return {};
    }
    std::string text = "TIFF - Tagged Image File Format. ";
    text += directory.bigEndian ? "Motorola Byte Order (Apple). " : "Intel Byte Order (PC). ";
    return text + compression;
}

} // namespace rastercodec
