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
};
