#pragma once
// Header checks of enhanced metafiles and Windows metafiles (placeable or bare), done before
// any bytes reach the platform's metafile player, and the placeable header the writer emits.
#include <cstddef>
#include <cstdint>

namespace metafile {

constexpr size_t kEmfHeaderRead = 100;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kWindowsHeaderSize = 18;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
// Largest picture a metafile is rendered into (a vector file of a few bytes may announce any
// size; 64 million pixels is the most this library renders).
constexpr uint64_t kMaxRenderedPixels = 64ull << 20;

// The bounds of an enhanced metafile are inclusive: a drawing from pixel 0 to pixel 99 has
// the bounds 0..99 and is 100 pixels wide.
inline int64_t InclusiveExtent(int32_t low, int32_t high) { return int64_t(high) - low + 1; }

struct EmfHeader {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // bounds, device units
    uint32_t totalSize = 0, records = 0;
    int64_t Width() const { return InclusiveExtent(left, right); }
    int64_t Height() const { return InclusiveExtent(top, bottom); }
};

struct PlaceableHeader {
    int16_t left = 0, top = 0, right = 0, bottom = 0;
    uint16_t unitsPerInch = 0;
};

// Whether two rendered dimensions are usable (positive, within the picture's limits and
// kMaxRenderedPixels).
bool UsableSize(int64_t width, int64_t height);

// The first kEmfHeaderRead bytes of an enhanced metafile of `fileSize` bytes: header record,
// " EMF" signature, total size within the file, a usable bounds rectangle.
bool ParseEmfHeader(const uint8_t* data, size_t size, int64_t fileSize, EmfHeader& header);

// The exclusive-or of the ten 16-bit words before the checksum.
uint16_t PlaceableChecksum(const uint8_t* header);
bool IsPlaceable(const uint8_t* data, size_t size);
// A placeable header with a valid checksum, a non-empty box and non-zero units per inch.
bool ParsePlaceableHeader(const uint8_t* data, size_t size, PlaceableHeader& header);
// The 22 bytes written before a recorded metafile.
void BuildPlaceableHeader(uint8_t out[kPlaceableSize], int16_t right, int16_t bottom, uint16_t unitsPerInch);

// A bare Windows metafile header: type 1, version 0x0300 and the total
// size in words equal to the file size / 2.
bool CheckWindowsHeader(const uint8_t* data, size_t size, int64_t fileSize);
// The metafile after a placeable header: type 1 or 2, a 9-word header, version 0x0100 or
// 0x0300 (writers are loose about its size field).
bool PlausibleWindowsHeader(const uint8_t* data, size_t size);

// Signatures for recognition by content: the header record with " EMF" at offset 40; the
// placeable key or a plausible bare Windows metafile header.
bool HasEmfSignature(const uint8_t* data, size_t size);
bool HasWmfSignature(const uint8_t* data, size_t size);

} // namespace metafile
