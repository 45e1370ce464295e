#pragma once
// Constant tables shared by the JPEG reader and writer.
#include <cstdint>

// Natural (row-major) position of the k-th coefficient in zigzag order. Padded with 16
// entries that point at position 63 so that a run in damaged data can never index past it.
extern const uint8_t kJpegZigzagToNatural[64 + 16];

// Reference quantization tables (ITU T.81 Annex K, tables K.1 and K.2), natural order.
extern const uint8_t kJpegLuminanceQuantization[64];
extern const uint8_t kJpegChrominanceQuantization[64];

// Marker codes (the byte after 0xFF).
enum JpegMarker : uint8_t {
    kJpegSof0 = 0xC0, kJpegSof1 = 0xC1, kJpegSof2 = 0xC2, kJpegSof3 = 0xC3,
    kJpegDht = 0xC4,
    kJpegSof5 = 0xC5, kJpegSof6 = 0xC6, kJpegSof7 = 0xC7,
    kJpegRst0 = 0xD0, kJpegRst7 = 0xD7,
    kJpegSoi = 0xD8, kJpegEoi = 0xD9, kJpegSos = 0xDA, kJpegDqt = 0xDB,
    kJpegDnl = 0xDC, kJpegDri = 0xDD, kJpegDhp = 0xDE,
    kJpegApp0 = 0xE0, kJpegApp15 = 0xEF, kJpegCom = 0xFE,
};
