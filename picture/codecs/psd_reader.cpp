// Reading the merged image of a Photoshop file.
#include <algorithm>
#include <cstring>
#include <string>

#include "picture/codecs/packbits_coder.h"
#include "picture/codecs/psd_codec.h"
#include "picture/codecs/raster_bytes.h"
#include "picture/codecs/raster_picture.h"

using namespace rastercodec;

namespace {

enum PsdMode : uint16_t { kGrey = 1, kIndexed = 2, kRgb = 3, kDuotone = 8 };

std::string ModeText(uint16_t mode, size_t colours)
{
    switch (mode) {
    case kGrey: return " Mode : Gray scale.";
    case kIndexed: return " Mode : Indexed Palette (" + std::to_string(colours) + ").";
    case kRgb: return " Mode : RGB.";
    default: return " Mode : Duotone.";
    }
}

} // namespace

int CPsdCodec::Read()
{
    const std::vector<uint8_t> file = ReadRemainingBytes(*m_stream);
    if (file.size() < 26 || std::memcmp(file.data(), "8BPS", 4) != 0)
        return 0;
    ByteCursor in(file);
    in.Skip(4);
    if (in.U16BE() != 1)
        return 0;
    const uint8_t* reserved = in.Take(6);
    if (std::any_of(reserved, reserved + 6, [](uint8_t b) { return b != 0; }))
        return 0;
    const unsigned channels = in.U16BE();
    const uint32_t height = in.U32BE(), width = in.U32BE();
    const unsigned depth = in.U16BE(), mode = in.U16BE();
    if (mode != kGrey && mode != kIndexed && mode != kRgb && mode != kDuotone)
        return 0;
    if (depth != 8 || channels == 0 || (mode == kRgb && channels < 3) || width == 0 || height == 0 ||
        width > CPicture::kMaxDimension || height > CPicture::kMaxDimension)
        return 0;

    const uint32_t modeDataLength = in.U32BE();
    const uint8_t* modeData = in.Take(modeDataLength);
    if (mode == kIndexed && modeDataLength < 768)
        return 0;
    in.Skip(in.U32BE()); // image resources
    in.Skip(in.U32BE()); // layer and mask information
    const unsigned compression = in.U16BE();
    if (compression > 1)
        return 0;

    const bool alpha = mode == kRgb && channels >= 4;
    const unsigned used = mode == kRgb ? (alpha ? 4 : 3) : 1;
    m_pingWidth = static_cast<int>(width);
    m_pingHeight = static_cast<int>(height);
    m_pingBits = mode == kRgb ? (alpha ? 32 : 24) : 8;
    m_infoText = "PSD : Adobe Photoshop File Format." + ModeText(static_cast<uint16_t>(mode), modeDataLength / 3) +
                 (compression ? " Compression : Run Legngth Encoding." : " Compression : none.");
    if (!m_picture)
        return 1;

    // Where each row of each used channel starts, and how many bytes it holds.
    const size_t rows = size_t(height) * used;
    std::vector<size_t> rowStart(rows), rowSize(rows, width);
    if (compression == 1) {
        const uint8_t* table = in.Take(size_t(height) * channels * 2);
        size_t at = in.Pos();
        for (size_t r = 0; r < rows; ++r) {
            rowStart[r] = at;
            rowSize[r] = LoadU16BE(table + r * 2);
            at += rowSize[r];
        }
        // A two-byte PackBits run gives at most 128 bytes.
        if (at > file.size() || uint64_t(at - in.Pos()) * 64 < uint64_t(rows) * width)
            FailCorrupt("PSD channel data too short");
    } else {
        if (uint64_t(rows) * width > in.Remaining())
            FailCorrupt("PSD channel data too short");
        for (size_t r = 0; r < rows; ++r)
            rowStart[r] = in.Pos() + r * width;
    }

    PreparePicture(*m_picture, width, height, m_pingBits);
    if (mode == kIndexed) {
        for (unsigned i = 0; i < 256; ++i) {
            const uint8_t bgr[3] = {modeData[512 + i], modeData[256 + i], modeData[i]};
            m_picture->SetPaletteEntry(i, bgr);
        }
    } else if (mode != kRgb) {
        for (unsigned i = 0; i < 256; ++i) {
            const uint8_t grey[3] = {uint8_t(i), uint8_t(i), uint8_t(i)};
            m_picture->SetPaletteEntry(i, grey);
        }
    }

    std::vector<uint8_t> row(width);
    const uint8_t* palette = m_picture->Palette();
    Progress().SetRange(0, static_cast<int64_t>(rows));
    for (size_t r = 0; r < rows; ++r) {
        ReportRow(static_cast<int>(r));
        const unsigned channel = static_cast<unsigned>(r / height);
        const int y = static_cast<int>(r % height);
        const uint8_t* src = file.data() + rowStart[r];
        if (compression == 1) {
            if (UnpackBits(src, rowSize[r], row.data(), width).produced < width)
                FailCorrupt("PSD row too short");
            src = row.data();
        }
        uint8_t* dst = m_picture->Row(y);
        if (mode != kRgb) {
            for (uint32_t x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, palette + src[x] * 3, 3);
        } else if (channel == 3) {
            std::memcpy(m_picture->AlphaRow(y), src, width);
        } else {
            dst += 2 - channel; // red, green, blue channels fill B, G, R from the back
            for (uint32_t x = 0; x < width; ++x, dst += 3)
                *dst = src[x];
        }
    }
    return 1;
}
