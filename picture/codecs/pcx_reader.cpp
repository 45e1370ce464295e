// Reading PCX files: one plane of 1, 2, 4 or 8 bits, two to four bit planes, or three or four
// 8-bit planes (red, green, blue and alpha), run-length coded.
#include <algorithm>
#include <cstring>

#include "picture/codecs/pcx_codec.h"
#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/raster_picture.h"

using namespace rastercodec;

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteTail = 769;

struct PcxHeader {
    uint8_t manufacturer, version, encoding, bits;
    uint16_t xMin, yMin, xMax, yMax;
    const uint8_t* palette16; // 48 bytes R, G, B
    uint8_t reserved, planes;
    uint16_t bytesPerLine;
};

PcxHeader ParseHeader(const uint8_t* p)
{
    PcxHeader h;
    h.manufacturer = p[0];
    h.version = p[1];
    h.encoding = p[2];
    h.bits = p[3];
    h.xMin = LoadU16LE(p + 4);
    h.yMin = LoadU16LE(p + 6);
    h.xMax = LoadU16LE(p + 8);
    h.yMax = LoadU16LE(p + 10);
    h.palette16 = p + 16;
    h.reserved = p[64];
    h.planes = p[65];
    h.bytesPerLine = LoadU16LE(p + 66);
    return h;
}

bool SupportedLayout(const PcxHeader& h)
{
    if (h.planes == 1)
        return h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8;
    if (h.bits == 1)
        return h.planes >= 1 && h.planes <= 4; // no planes: no data to bound the picture's size
    return h.bits == 8 && (h.planes == 3 || h.planes == 4);
}

// Run-length decoding that carries a run from one scan line into the next.
class RunLengthLines {
public:
    RunLengthLines(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}

    void Decode(uint8_t* dst, size_t n)
    {
        while (n) {
            if (m_run) {
                const size_t k = std::min<size_t>(m_run, n);
                std::memset(dst, m_value, k);
                dst += k;
                n -= k;
                m_run -= static_cast<unsigned>(k);
                continue;
            }
            if (m_p >= m_end)
                FailCorrupt("PCX pixel data too short");
            const uint8_t b = *m_p++;
            if (b < 0xC0) {
                *dst++ = b;
                --n;
                continue;
            }
            if (m_p >= m_end)
                FailCorrupt("PCX pixel data too short");
            m_run = b & 0x3Fu;
            m_value = *m_p++;
        }
    }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
    unsigned m_run = 0;
    uint8_t m_value = 0;
};

} // namespace

int CPcxCodec::Read()
{
    const std::vector<uint8_t> file = ReadRemainingBytes(*m_stream);
    if (file.size() < kHeaderSize)
        return 0;
    const PcxHeader h = ParseHeader(file.data());
    const bool versionOk = h.version == 0 || (h.version >= 2 && h.version <= 5);
    if (h.manufacturer != 10 || h.encoding != 1 || h.reserved != 0 || !versionOk || !SupportedLayout(h) ||
        h.xMax < h.xMin || h.yMax < h.yMin)
        return 0;
    const unsigned width = h.xMax - h.xMin + 1u, height = h.yMax - h.yMin + 1u;
    const unsigned planeBits = unsigned(h.planes) * h.bits;
    if (width > CPicture::kMaxDimension || height > CPicture::kMaxDimension ||
        h.bytesPerLine < (uint64_t(width) * h.bits + 7) / 8)
        return 0;
    const int bits = planeBits <= 8 ? static_cast<int>(planeBits) : planeBits == 24 ? 24 : 32;
    m_pingWidth = static_cast<int>(width);
    m_pingHeight = static_cast<int>(height);
    m_pingBits = bits;
    m_infoText = "PCX - Zsoft PaintBrush. Version : " + std::to_string(h.version) +
                 ". Compression : Run Length Encoding.";

    // 8-bit palette files end with the byte 12 and 256 R, G, B entries.
    size_t dataEnd = file.size();
    const uint8_t* tail = nullptr;
    if (planeBits == 8) {
        if (file.size() < kHeaderSize + kPaletteTail || file[file.size() - kPaletteTail] != 12)
            return 0;
        dataEnd -= kPaletteTail;
        tail = file.data() + dataEnd + 1;
    }
    if (!m_picture)
        return 1;

    const size_t lineBytes = size_t(h.bytesPerLine) * h.planes;
    // A two-byte run gives at most 63 bytes.
    if (uint64_t(lineBytes) * height > uint64_t(dataEnd - kHeaderSize) * 32 + 63)
        FailCorrupt("PCX pixel data too short");
    PreparePicture(*m_picture, width, height, bits);

    if (planeBits <= 8) {
        const unsigned entries = 1u << planeBits;
        const bool monochrome = planeBits == 1 && std::memcmp(h.palette16, h.palette16 + 3, 3) == 0;
        for (unsigned i = 0; i < entries; ++i) {
            const uint8_t* rgb = tail ? tail + i * 3 : h.palette16 + i * 3;
            uint8_t bgr[3] = {rgb[2], rgb[1], rgb[0]};
            if (monochrome) // a blank two-colour palette means black and white
                bgr[0] = bgr[1] = bgr[2] = i ? 255 : 0;
            m_picture->SetPaletteEntry(i, bgr);
        }
    }

    std::vector<uint8_t> line(lineBytes);
    RunLengthLines decoder(file.data() + kHeaderSize, dataEnd - kHeaderSize);
    const uint8_t* palette = m_picture->Palette();
    const size_t bpl = h.bytesPerLine;
    Progress().SetRange(0, height);
    for (unsigned y = 0; y < height; ++y) {
        ReportRow(static_cast<int>(y));
        decoder.Decode(line.data(), line.size());
        uint8_t* dst = m_picture->Row(static_cast<int>(y));
        const uint8_t* src = line.data();
        if (planeBits > 8) {
            uint8_t* alpha = h.planes == 4 ? m_picture->AlphaRow(static_cast<int>(y)) : nullptr;
            for (unsigned x = 0; x < width; ++x, dst += 3) {
                dst[0] = src[2 * bpl + x];
                dst[1] = src[bpl + x];
                dst[2] = src[x];
                if (alpha)
                    alpha[x] = src[3 * bpl + x];
            }
        } else if (h.bits == 8) {
            for (unsigned x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, palette + src[x] * 3, 3);
        } else if (h.planes == 1) {
            const unsigned b = h.bits, mask = (1u << b) - 1;
            for (unsigned x = 0; x < width; ++x, dst += 3) {
                const unsigned bit = x * b;
                const unsigned index = (src[bit >> 3] >> (8 - b - (bit & 7))) & mask;
                std::memcpy(dst, palette + index * 3, 3);
            }
        } else {
            for (unsigned x = 0; x < width; ++x, dst += 3) {
                unsigned index = 0;
                for (unsigned p = 0; p < h.planes; ++p)
                    index |= ((src[p * bpl + (x >> 3)] >> (7 - (x & 7))) & 1u) << p;
                std::memcpy(dst, palette + index * 3, 3);
            }
        }
    }
    return 1;
}
