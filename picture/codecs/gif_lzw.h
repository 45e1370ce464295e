#pragma once
// The GIF image data decoder: variable-length LZW codes packed least significant bit first
// into data sub-blocks. Decoded indices go into one output buffer and every string table
// entry names a stretch of that buffer, so decoding copies strings without allocating.
#include <cstdint>
#include <vector>

#include "base/progress.h"
#include "picture/graphics_stream.h"

class CGifLzwDecoder {
public:
    CGifLzwDecoder(CGraphicsStream& stream, CQnProgress& progress, unsigned width, unsigned height);

    // Decodes width x height indices with the given minimum code size; production stops at
    // that count, and an early end code leaves the remaining indices 0.
    void Decode(unsigned minCodeSize);
    const uint8_t* Indices() const { return m_out.data() + kLiterals; }

private:
    static constexpr unsigned kLiterals = 256;
    static constexpr unsigned kMaxCodes = 4096;

    unsigned ReadCode();
    void GrowTable(unsigned& next);
    void NextSubBlock();
    void CheckTerminator();
    void ReportProgress(size_t produced);

    CGraphicsStream& m_stream;
    CQnProgress& m_progress;
    unsigned m_width;
    size_t m_pixelCount;
    std::vector<uint8_t> m_out;
    std::vector<uint32_t> m_offset;
    std::vector<uint16_t> m_length;

    uint8_t m_block[255] = {};
    unsigned m_blockLength = 0, m_blockPos = 0;
    uint32_t m_bits = 0;
    unsigned m_bitCount = 0;
    unsigned m_codeSize = 0;
    size_t m_nextReport = 0;
};
