#pragma once
// Truevision Targa: reads colour-mapped, true-colour and grey files, raw or run-length coded,
// in any of the four origins; writes 8-bit colour-mapped, 24-bit and 32-bit files, run-length
// coded when the write option is on, from the top row down when the top-down flag is on.
#include "picture/graphics_codec.h"

class CTgaCodec : public CGraphicsCodec {
public:
    CTgaCodec();

    int Write() override;
    int Read() override;
    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 8 || bits == 24 || bits == 32; }
    bool HasWriteOption() const override { return true; }
    bool HasSignature() const override { return false; }

    void SetTopDown(bool topDown) { m_topDown = topDown; }
    bool TopDown() const { return m_topDown; }

private:
    bool m_topDown = true;
};
