#pragma once
// TIFF: reads the first image of a file in either byte order (uncompressed, LZW or PackBits;
// palette, grey, RGB and RGB with alpha) and writes baseline files in strips, PackBits-coded
// when the write option is on.
#include "picture/graphics_codec.h"

class CTiffCodec : public CGraphicsCodec {
public:
    CTiffCodec();

    int Write() override;
    int Read() override;
    bool CanWriteDepth(int bits) const override;
    bool HasWriteOption() const override { return true; }

    // Writer settings.
    void SetBigEndian(bool bigEndian) { m_bigEndian = bigEndian; }
    void SetStripCount(unsigned strips) { m_strips = strips ? strips : 1; }
    void SetResolution(unsigned xDpi, unsigned yDpi) { m_xDpi = xDpi; m_yDpi = yDpi; }

private:
    bool m_bigEndian = false;
    unsigned m_strips = 1;
    unsigned m_xDpi = 96, m_yDpi = 96;
};

// The display's logical pixels per inch (96 where there is no display to ask).
void TiffDisplayResolution(unsigned& xDpi, unsigned& yDpi);
