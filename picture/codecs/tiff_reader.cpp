// Reading the first image of a TIFF file.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "picture/codecs/packbits_coder.h"
#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/raster_picture.h"
#include "picture/codecs/tiff_codec.h"
#include "picture/codecs/tiff_directory.h"
#include "picture/codecs/tiff_lzw_decoder.h"

using namespace rastercodec;

namespace {

// How the samples of one pixel are laid out and turned into the picture's pixels.
struct SampleLayout {
    unsigned bits = 8;          // per sample
    unsigned samples = 1;       // per pixel, extra samples included
    unsigned colourSamples = 1; // 1 (palette or grey) or 3 (RGB)
    int alphaSample = -1;       // index of the alpha sample, or -1
    uint64_t rowBytes = 0;
};

// Largest factor by which each compression can expand its data; a file whose strips could not
// hold the picture even at that rate is refused before anything is allocated for it.
uint64_t MaxExpansion(uint32_t compression)
{
    switch (compression) {
    case kTiffNone: return 1;
    case kTiffPackBits: return 64;  // 2 bytes give at most 128
    default: return 4096 * 8 / 9;   // LZW: one 9-bit code gives at most 4096 bytes
    }
}

SampleLayout DescribeSamples(const TiffDirectory& dir, uint32_t& photometric)
{
    SampleLayout layout;
    layout.samples = dir.Samples();
    layout.bits = dir.BitsPerSample();
    for (size_t i = 1; i < dir.bitsPerSample.size() && i < layout.samples; ++i)
        if (dir.bitsPerSample[i] != layout.bits)
            FailCorrupt("TIFF samples of different sizes");

    photometric = dir.photometric;
    if (!dir.hasPhotometric)
        photometric = layout.samples >= 3 ? kTiffRgb : !dir.colorMap.empty() ? kTiffPalette : kTiffBlackIsZero;
    switch (photometric) {
    case kTiffWhiteIsZero:
    case kTiffBlackIsZero:
    case kTiffPalette:
        layout.colourSamples = 1;
        if (layout.bits != 1 && layout.bits != 2 && layout.bits != 4 && layout.bits != 8)
            FailCorrupt("unsupported TIFF sample size");
        break;
    case kTiffRgb:
        layout.colourSamples = 3;
        if (layout.bits != 8)
            FailCorrupt("unsupported TIFF sample size");
        break;
    default:
        FailCorrupt("unsupported TIFF colour space");
    }
    if (layout.samples < layout.colourSamples || layout.samples > 16)
        FailCorrupt("unsupported TIFF sample count");
    if (layout.samples > layout.colourSamples) {
        if (layout.bits != 8)
            FailCorrupt("unsupported TIFF extra samples");
        const bool markedAlpha = !dir.extraSamples.empty() && (dir.extraSamples[0] == 1 || dir.extraSamples[0] == 2);
        if (markedAlpha || layout.samples == layout.colourSamples + 1)
            layout.alphaSample = static_cast<int>(layout.colourSamples);
    }
    layout.rowBytes = (uint64_t(dir.width) * layout.bits * layout.samples + 7) / 8;
    return layout;
}

// Palette of the picture for one-sample images: the ColorMap, or grey levels.
void FillPalette(CPicture& picture, const TiffDirectory& dir, uint32_t photometric, unsigned bits)
{
    const unsigned entries = 1u << bits;
    if (photometric == kTiffPalette) {
        if (dir.colorMap.size() < size_t(entries) * 3)
            FailCorrupt("TIFF colour map too short");
        // 16-bit components scaled to 8 bits as v * 255 / 65535, like the common readers, so a
        // map written as c * 257 gives c back.
        auto scale = [](uint32_t v) { return static_cast<uint8_t>((v & 0xFFFF) / 257); };
        for (unsigned i = 0; i < entries; ++i) {
            const uint8_t bgr[3] = {scale(dir.colorMap[2 * entries + i]), scale(dir.colorMap[entries + i]),
                                    scale(dir.colorMap[i])};
            picture.SetPaletteEntry(i, bgr);
        }
        return;
    }
    for (unsigned i = 0; i < entries; ++i) {
        uint8_t level = static_cast<uint8_t>(i * 255 / (entries - 1));
        if (photometric == kTiffWhiteIsZero)
            level = static_cast<uint8_t>(255 - level);
        const uint8_t bgr[3] = {level, level, level};
        picture.SetPaletteEntry(i, bgr);
    }
}

// RGB rows with horizontal differencing: the running sums stay in registers and go straight
// into the picture (one pass instead of undoing the differences first).
template <unsigned kSamples>
void ExpandDifferencedRgb(const uint8_t* src, int width, uint8_t* dst, uint8_t* alpha)
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
    for (int x = 0; x < width; ++x, src += kSamples, dst += 3) {
        r = static_cast<uint8_t>(r + src[0]);
        g = static_cast<uint8_t>(g + src[1]);
        b = static_cast<uint8_t>(b + src[2]);
        dst[0] = b;
        dst[1] = g;
        dst[2] = r;
        if constexpr (kSamples == 4) {
            a = static_cast<uint8_t>(a + src[3]);
            if (alpha)
                alpha[x] = a;
        }
    }
}

// Turns one decoded row into the picture's row y.
void ExpandRow(const uint8_t* src, const SampleLayout& layout, CPicture& picture, int y)
{
    uint8_t* dst = picture.Row(y);
    uint8_t* alpha = layout.alphaSample >= 0 ? picture.AlphaRow(y) : nullptr;
    const int width = picture.Width();
    const unsigned step = layout.samples;
    if (layout.colourSamples == 3) {
        for (int x = 0; x < width; ++x, src += step, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            if (alpha)
                alpha[x] = src[layout.alphaSample];
        }
        return;
    }
    const uint8_t* palette = picture.Palette();
    if (layout.bits == 8) {
        for (int x = 0; x < width; ++x, src += step, dst += 3) {
            std::memcpy(dst, palette + src[0] * 3, 3);
            if (alpha)
                alpha[x] = src[layout.alphaSample];
        }
        return;
    }
    const unsigned bits = layout.bits, mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x, dst += 3) {
        const unsigned bit = unsigned(x) * bits;
        const unsigned index = (src[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
        std::memcpy(dst, palette + index * 3, 3);
    }
}

void UndoHorizontalDifferencing(uint8_t* row, uint64_t rowBytes, unsigned samples)
{
    for (uint64_t i = samples; i < rowBytes; ++i)
        row[i] = static_cast<uint8_t>(row[i] + row[i - samples]);
}

uint8_t ReversedBits(uint8_t b)
{
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

} // namespace

int CTiffCodec::Read()
{
    const std::vector<uint8_t> file = ReadRemainingBytes(*m_stream);
    const TiffDirectory dir = ReadTiffDirectory(file.data(), file.size());
    const std::string info = TiffInfoText(dir);
    if (info.empty() || dir.width == 0 || dir.height == 0 || dir.width > CPicture::kMaxDimension ||
        dir.height > CPicture::kMaxDimension)
        return 0;
    m_pingWidth = static_cast<int>(dir.width);
    m_pingHeight = static_cast<int>(dir.height);
    m_pingBits = static_cast<int>(std::min<uint64_t>(uint64_t(dir.BitsPerSample()) * dir.Samples(), 0x7FFFFFFF));
    m_infoText = info;
    if (!m_picture)
        return 1;

    if (dir.compression != kTiffNone && dir.compression != kTiffLzw && dir.compression != kTiffPackBits)
        return 0; // CCITT data is recognised but not decoded
    if (dir.tiled || (dir.planarConfiguration != 1 && dir.Samples() > 1))
        return 0;
    uint32_t photometric;
    const SampleLayout layout = DescribeSamples(dir, photometric);
    if (dir.predictor != 1 && !(dir.predictor == 2 && layout.bits == 8))
        return 0;

    // Strips: each must lie in the file, and together they must be able to hold the picture.
    const uint32_t height = dir.height;
    const uint32_t rowsPerStrip = dir.rowsPerStrip == 0 ? height : std::min(dir.rowsPerStrip, height);
    const size_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    if (dir.stripOffsets.size() < strips)
        FailCorrupt("TIFF strip offsets missing");
    std::vector<uint32_t> counts = dir.stripByteCounts;
    if (counts.size() < strips) {
        if (dir.compression != kTiffNone)
            FailCorrupt("TIFF strip byte counts missing");
        counts.assign(strips, static_cast<uint32_t>(std::min<uint64_t>(layout.rowBytes * rowsPerStrip, 0xFFFFFFFF)));
    }
    uint64_t stored = 0;
    for (size_t s = 0; s < strips; ++s) {
        if (dir.stripOffsets[s] > file.size())
            FailCorrupt("TIFF strip outside the file");
        counts[s] = static_cast<uint32_t>(std::min<uint64_t>(counts[s], file.size() - dir.stripOffsets[s]));
        stored += counts[s];
    }
    if (layout.rowBytes * height > stored * MaxExpansion(dir.compression))
        FailCorrupt("TIFF strips too short for the picture");

    const int bits = layout.colourSamples == 3 ? (layout.alphaSample >= 0 ? 32 : 24)
                                               : static_cast<int>(layout.bits);
    PreparePicture(*m_picture, dir.width, height, bits);
    if (layout.alphaSample >= 0 && !m_picture->CreateAlpha())
        throw EGraphicsException("Not enough memory for the picture");
    if (layout.colourSamples == 1)
        FillPalette(*m_picture, dir, photometric, layout.bits);

    std::vector<uint8_t> strip(static_cast<size_t>(layout.rowBytes * rowsPerStrip));
    std::vector<uint8_t> reversed;
    const int reportEvery = static_cast<int>(std::sqrt(double(height))) + 1;
    Progress().SetRange(0, height);
    uint32_t y = 0;
    for (size_t s = 0; s < strips; ++s) {
        const uint32_t rows = std::min(rowsPerStrip, height - y);
        const size_t expected = static_cast<size_t>(layout.rowBytes * rows);
        const uint8_t* data = file.data() + dir.stripOffsets[s];
        const size_t size = counts[s];
        if (dir.fillOrder == 2) {
            reversed.resize(size);
            std::transform(data, data + size, reversed.begin(), ReversedBits);
            data = reversed.data();
        }
        size_t produced = 0;
        switch (dir.compression) {
        case kTiffNone:
            produced = std::min(size, expected);
            std::memcpy(strip.data(), data, produced);
            break;
        case kTiffPackBits: produced = UnpackBits(data, size, strip.data(), expected).produced; break;
        default: produced = DecodeTiffLzw(data, size, strip.data(), expected); break;
        }
        if (produced < expected)
            FailCorrupt("TIFF strip data too short");
        for (uint32_t r = 0; r < rows; ++r, ++y) {
            uint8_t* row = strip.data() + r * layout.rowBytes;
            if (dir.predictor == 2 && layout.colourSamples == 3 && layout.samples <= 4) {
                uint8_t* alpha = layout.alphaSample >= 0 ? m_picture->AlphaRow(static_cast<int>(y)) : nullptr;
                if (layout.samples == 3)
                    ExpandDifferencedRgb<3>(row, m_picture->Width(), m_picture->Row(static_cast<int>(y)), alpha);
                else
                    ExpandDifferencedRgb<4>(row, m_picture->Width(), m_picture->Row(static_cast<int>(y)), alpha);
            } else {
                if (dir.predictor == 2)
                    UndoHorizontalDifferencing(row, layout.rowBytes, layout.samples);
                ExpandRow(row, layout, *m_picture, static_cast<int>(y));
            }
            if (y % reportEvery == 0 && !Progress().SetPos(y))
                throw EGraphicsAbort();
        }
    }
    return 1;
}
