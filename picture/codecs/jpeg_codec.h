#pragma once
// The JPEG codec of the format registry: reads baseline, extended sequential and progressive
// Huffman JPEG/JFIF files of 1 or 3 components; writes baseline JFIF.
#include <cstddef>
#include <cstdint>

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

// Reduced-size decoding for thumbnails: the frame's size, the reduction that still gives at
// least a wanted size, and the decode at 1/2, 1/4 or 1/8 of each side (rounded up) through
// reduced inverse transforms (the DC term alone at 1/8). The full-size decode is unchanged.
struct JpegFrameSize {
    int width = 0, height = 0, components = 0;
};
// False when the bytes hold no frame header before their end.
bool ReadJpegFrameSize(const uint8_t* data, size_t size, JpegFrameSize& frame);
// The largest of 8, 4 and 2 that keeps ceil(width / d) >= minWidth and ceil(height / d) >=
// minHeight; 1 when none does.
int JpegReductionFor(int width, int height, int minWidth, int minHeight);
// Decodes the whole stream at 1/denominator (1, 2, 4 or 8) into `picture`; false on any error
// or cancel.
bool DecodeJpegReduced(const uint8_t* data, size_t size, int denominator, CPicture& picture, CQnProgress* progress);
