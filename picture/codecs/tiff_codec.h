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
    // "II" 42 or "MM" 42, and the BigTIFF forms with 43.
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        if (size < 4)
            return false;
        if (head[0] == 'I' && head[1] == 'I')
            return (head[2] == 42 || head[2] == 43) && head[3] == 0;
        return head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43);
    }

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
