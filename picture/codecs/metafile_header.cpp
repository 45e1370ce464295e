#include "picture/codecs/metafile_header.h"

#include "picture/picture.h"

namespace metafile {
namespace {
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
void Put16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t kSmallestEmfHeader = 88;
} // namespace

bool UsableSize(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= CPicture::kMaxDimension && height <= CPicture::kMaxDimension &&
           uint64_t(width) * uint64_t(height) <= kMaxRenderedPixels;
}

bool ParseEmfHeader(const uint8_t* data, size_t size, int64_t fileSize, EmfHeader& header)
{
    if (size < kEmfHeaderRead || U32(data) != kEmrHeader || U32(data + 40) != kEmfSignature)
        return false;
    const uint32_t recordSize = U32(data + 4);
    header.left = S32(data + 8);
    header.top = S32(data + 12);
    header.right = S32(data + 16);
    header.bottom = S32(data + 20);
    header.totalSize = U32(data + 48);
    header.records = U32(data + 52);
    return recordSize >= kSmallestEmfHeader && recordSize <= header.totalSize && header.totalSize <= fileSize &&
           header.records >= 1 && UsableSize(header.Width(), header.Height());
}

uint16_t PlaceableChecksum(const uint8_t* header)
{
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= U16(header + i * 2);
    return sum;
}

bool IsPlaceable(const uint8_t* data, size_t size) { return size >= 4 && U32(data) == kPlaceableKey; }

bool ParsePlaceableHeader(const uint8_t* data, size_t size, PlaceableHeader& header)
{
    if (size < kPlaceableSize || !IsPlaceable(data, size) || PlaceableChecksum(data) != U16(data + 20))
        return false;
    header.left = static_cast<int16_t>(U16(data + 6));
    header.top = static_cast<int16_t>(U16(data + 8));
    header.right = static_cast<int16_t>(U16(data + 10));
    header.bottom = static_cast<int16_t>(U16(data + 12));
    header.unitsPerInch = U16(data + 14);
    return header.unitsPerInch != 0 && header.right > header.left && header.bottom > header.top;
}

void BuildPlaceableHeader(uint8_t out[kPlaceableSize], int16_t right, int16_t bottom, uint16_t unitsPerInch)
{
    for (size_t i = 0; i < kPlaceableSize; ++i)
        out[i] = 0;
    out[0] = 0xD7, out[1] = 0xCD, out[2] = 0xC6, out[3] = 0x9A;
    Put16(out + 10, uint16_t(right));
    Put16(out + 12, uint16_t(bottom));
    Put16(out + 14, unitsPerInch);
    Put16(out + 20, PlaceableChecksum(out));
}

bool CheckWindowsHeader(const uint8_t* data, size_t size, int64_t fileSize)
{
    return size >= kWindowsHeaderSize && U16(data) == 1 && U16(data + 4) == 0x0300 &&
           int64_t(U32(data + 6)) == fileSize / 2;
}

bool PlausibleWindowsHeader(const uint8_t* data, size_t size)
{
    if (size < kWindowsHeaderSize)
        return false;
    const uint16_t type = U16(data), version = U16(data + 4);
    return (type == 1 || type == 2) && U16(data + 2) == 9 && (version == 0x0100 || version == 0x0300);
}

bool HasEmfSignature(const uint8_t* data, size_t size)
{
    return size >= 44 && U32(data) == kEmrHeader && U32(data + 40) == kEmfSignature;
}

bool HasWmfSignature(const uint8_t* data, size_t size)
{
    return IsPlaceable(data, size) || PlausibleWindowsHeader(data, size);
}

} // namespace metafile
