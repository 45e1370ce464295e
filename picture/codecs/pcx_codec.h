#pragma once
// Zsoft PaintBrush: reads 1-, 2-, 4- and 8-bit palette files (packed or in bit planes) and
// 24-bit files in three planes; writes 4-bit, 8-bit (with the 769-byte palette at the end)
// and 24-bit files.
#include "picture/graphics_codec.h"

class CPcxCodec : public CGraphicsCodec {
public:
    CPcxCodec();

    int Write() override;
    int Read() override;
    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 4 || bits == 8 || bits == 24; }
    // Manufacturer 10, a known version, encoding 0 or 1 and a plausible bit count.
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 4 && head[0] == 10 && head[1] <= 5 && head[1] != 1 && head[2] <= 1 &&
               (head[3] == 1 || head[3] == 2 || head[3] == 4 || head[3] == 8);
    }
};
