#pragma once
// PNG: reads every standard colour type and bit depth (interlaced or not) with the library's
// own inflater; writes one non-interlaced image whose rows (filter None) form a single
// dynamic-Huffman deflate block, at compression level 0..3.
#include "picture/graphics_codec.h"

class CPngCodec : public CGraphicsCodec {
public:
    CPngCodec();

    int Write() override;
    int Read() override;
    int Ping() override;
    bool CanWriteDepth(int bits) const override;
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 4 && head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G';
    }

    // 0..3 (default 2); "Invalid Compression Level" otherwise.
    void SetCompressionLevel(int level);
    int CompressionLevel() const { return m_level; }

private:
    int m_level = 2;
};
