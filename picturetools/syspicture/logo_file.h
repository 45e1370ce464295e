#pragma once
// The system's logo file: an uncompressed 8-bit Windows bitmap with a 256-entry colour table,
// whose colours-important byte (offset 50) names the first palette entry of the band the
// system rotates at boot. The writer lays it out byte by byte; the reader takes such a file
// from the user's disk and trusts none of its fields.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class CQnProgress;

inline constexpr size_t kLogoHeaderSize = 54;          // file header and information header
inline constexpr size_t kLogoPixelOffset = 54 + 1024;  // after the 256-entry colour table
inline constexpr size_t kLogoBandByteOffset = 50;      // low byte of "colours important"

struct LogoImage {
    int width = 0, height = 0;
    std::vector<uint8_t> palette;  // 256 entries of blue, green, red
    std::vector<uint8_t> indices;  // width x height palette indices, top row first
    uint8_t bandStart = 0;         // the byte at offset 50: first index of the rotating band

    uint8_t At(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
};

// Bytes per stored row: one index per pixel, padded with zeros to a multiple of 4.
size_t LogoRowStride(int width);

// The whole file: header (written first as a placeholder, then again with the final sizes
// once the rows are out), colour table, rows bottom-up. With `withBand` the byte at offset 50
// is the image's band start. Progress "Saving 8 bits BMP file..." every 10 rows; empty when
// the image is malformed or the user cancelled.
std::vector<uint8_t> EncodeLogoBmp(const LogoImage& image, bool withBand, CQnProgress* progress);

// Reads an uncompressed 8-bit bitmap with a colour table of at most 256 entries (missing
// entries black). Empty for anything else or anything that does not fit the bytes given.
std::optional<LogoImage> DecodeLogoBmp(std::span<const uint8_t> bytes);
