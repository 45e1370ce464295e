#pragma once
// The first image file directory of a TIFF file, reduced to the fields the reader uses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rastercodec {

enum TiffCompression : uint32_t {
    kTiffNone = 1,
    kTiffCcittHuffman = 2,
    kTiffCcittFax3 = 3,
    kTiffLzw = 5,
    kTiffPackBits = 32773,
};

enum TiffPhotometric : uint32_t {
    kTiffWhiteIsZero = 0,
    kTiffBlackIsZero = 1,
    kTiffRgb = 2,
    kTiffPalette = 3,
};

struct TiffDirectory {
    bool bigEndian = false;
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> bitsPerSample; // empty: 8 for every sample
    uint32_t compression = kTiffNone;
    uint32_t photometric = kTiffBlackIsZero;
    bool hasPhotometric = false;
    uint32_t samplesPerPixel = 0; // 0: tag missing
    uint32_t rowsPerStrip = 0xFFFFFFFF;
    uint32_t planarConfiguration = 1;
    uint32_t predictor = 1;
    uint32_t fillOrder = 1;
    bool tiled = false;
    std::vector<uint32_t> stripOffsets, stripByteCounts;
    std::vector<uint32_t> colorMap;
    std::vector<uint32_t> extraSamples;

    // Samples per pixel with the default of the photometric interpretation applied.
    uint32_t Samples() const;
    // Bits of every sample (the first entry of BitsPerSample; 8 when the tag is missing).
    uint32_t BitsPerSample() const { return bitsPerSample.empty() ? 8 : bitsPerSample[0]; }
};

// Reads the 8-byte header and the first directory of the file held in `data`. Throws
// EGraphicsException when the header is not TIFF or the directory lies outside the data.
TiffDirectory ReadTiffDirectory(const uint8_t* data, size_t size);

// "TIFF - Tagged Image File Format. Intel Byte Order (PC). Compression : LZW."; empty when
// the compression is one the codec does not know.
std::string TiffInfoText(const TiffDirectory& directory);

} // namespace rastercodec
