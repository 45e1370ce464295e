#pragma once
// Adobe Photoshop: reads the merged image of 8-bit grey, duotone, indexed and RGB files (with
// a fourth RGB channel as alpha), raw or PackBits-coded; writes indexed, RGB and RGB plus
// alpha files, PackBits-coded when the write option is on.
#include "picture/graphics_codec.h"

class CPsdCodec : public CGraphicsCodec {
public:
    CPsdCodec();

    int Write() override;
    int Read() override;
    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 8 || bits == 24 || bits == 32; }
    bool HasWriteOption() const override { return true; }
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 4 && head[0] == '8' && head[1] == 'B' && head[2] == 'P' && head[3] == 'S';
    }
};
