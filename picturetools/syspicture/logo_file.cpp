#include "picturetools/syspicture/logo_file.h"

#include <algorithm>
#include <cstring>

#include "base/progress.h"

namespace {
constexpr uint32_t kInfoHeaderSize = 40;
constexpr unsigned kPaletteEntries = 256;

void PutU16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value)
{
    PutU16(at, value);
    PutU16(at + 2, value >> 16);
}

uint32_t GetU16(const uint8_t* at) { return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8; }
uint32_t GetU32(const uint8_t* at) { return GetU16(at) | GetU16(at + 2) << 16; }

void PutHeader(uint8_t* file, const LogoImage& image, uint32_t imageSize)
{
    std::memset(file, 0, kLogoHeaderSize);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file + 2, static_cast<uint32_t>(kLogoPixelOffset) + imageSize);
    PutU32(file + 10, static_cast<uint32_t>(kLogoPixelOffset));
    PutU32(file + 14, kInfoHeaderSize);
    PutU32(file + 18, static_cast<uint32_t>(image.width));
    PutU32(file + 22, static_cast<uint32_t>(image.height));
    PutU16(file + 26, 1);
    PutU16(file + 28, 8);
    PutU32(file + 34, imageSize);
}
} // namespace

size_t LogoRowStride(int width) { return (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3); }

std::vector<uint8_t> EncodeLogoBmp(const LogoImage& image, bool withBand, CQnProgress* progress)
{
    if (image.width <= 0 || image.height <= 0 || image.palette.size() != kPaletteEntries * 3 ||
        image.indices.size() != static_cast<size_t>(image.width) * image.height)
        return {};
    CQnProgress& sink = ProgressOrSilent(progress);
    const size_t stride = LogoRowStride(image.width);
    const uint32_t imageSize = static_cast<uint32_t>(stride * image.height);
    std::vector<uint8_t> file(kLogoPixelOffset + imageSize, 0);
    const LogoImage placeholder{image.width, image.height, {}, {}, 0};
    PutHeader(file.data(), placeholder, 0);
    for (unsigned i = 0; i < kPaletteEntries; ++i)
        std::memcpy(&file[kLogoHeaderSize + 4 * i], &image.palette[3 * i], 3);

    sink.Begin();
    sink.SetText("Saving 8 bits BMP file...");
    sink.SetRange(0, image.height);
    bool cancelled = false;
    for (int y = 0; y < image.height && !cancelled; ++y) {
        if (y % 10 == 0 && !sink.SetPos(y))
            cancelled = true;
        const int fromTop = image.height - 1 - y; // rows go out bottom-up
        std::memcpy(&file[kLogoPixelOffset + stride * y], &image.indices[static_cast<size_t>(fromTop) * image.width],
                    static_cast<size_t>(image.width));
    }
    sink.End();
    if (cancelled)
        return {};
    PutHeader(file.data(), image, imageSize);
    if (withBand)
        file[kLogoBandByteOffset] = image.bandStart;
    return file;
}

std::optional<LogoImage> DecodeLogoBmp(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kLogoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const uint8_t* data = bytes.data();
    const uint32_t pixelOffset = GetU32(data + 10);
    const uint32_t infoSize = GetU32(data + 14);
    const int32_t width = static_cast<int32_t>(GetU32(data + 18));
    const int32_t height = static_cast<int32_t>(GetU32(data + 22));
    const uint32_t colourCount = GetU32(data + 46);
    if (infoSize < kInfoHeaderSize || infoSize > bytes.size() - 14 || GetU16(data + 26) != 1 ||
        GetU16(data + 28) != 8 || GetU32(data + 30) != 0 || width <= 0 || height <= 0 ||
        colourCount > kPaletteEntries)
        return std::nullopt;
    const uint64_t entries = colourCount == 0 ? kPaletteEntries : colourCount;
    const uint64_t tableStart = 14 + static_cast<uint64_t>(infoSize);
    const uint64_t tableEnd = tableStart + 4 * entries;
    const uint64_t stride = LogoRowStride(width);
    // The rows must lie in the file: this also bounds what the indices may cost.
    if (tableEnd > bytes.size() || pixelOffset < tableEnd || pixelOffset > bytes.size() ||
        stride * static_cast<uint64_t>(height) > bytes.size() - pixelOffset)
        return std::nullopt;

    LogoImage image;
    image.width = width;
    image.height = height;
    image.bandStart = data[kLogoBandByteOffset];
    image.palette.assign(kPaletteEntries * 3, 0);
    for (uint64_t i = 0; i < entries; ++i)
        std::memcpy(&image.palette[3 * i], data + tableStart + 4 * i, 3);
    image.indices.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + pixelOffset + stride * static_cast<uint64_t>(height - 1 - y);
        std::copy_n(row, width, &image.indices[static_cast<size_t>(y) * width]);
    }
    return image;
}
