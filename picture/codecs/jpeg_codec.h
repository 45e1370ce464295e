#pragma once
// The JPEG codec of the format registry: reads baseline, extended sequential and progressive
// Huffman JPEG/JFIF files of 1 or 3 components; writes baseline JFIF.
#include "picture/graphics_codec.h"

class CJpegCodec : public CGraphicsCodec {
public:
    static constexpr int kDefaultQuality = 80;

    CJpegCodec();

    int Write() override;
    int Read() override;
    int Ping() override;
    bool CanWriteDepth(int bits) const override;
    bool HasWriteOption() const override;
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
    }

    // Quality of the next writes, 1..100 (0 is taken as 1, more than 100 as 100).
    void SetQuality(int quality) override { m_quality = quality; }
    int Quality() const { return m_quality; }

private:
    int ReadImage(CPicture* target);

    int m_quality = kDefaultQuality;
};

// The registry's JPEG codec instance (JpgCodec() returns the same object).
CJpegCodec& JpegCodec();
