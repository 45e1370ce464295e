// From decoded samples to picture rows: replicated upsampling and YCbCr to BGR.
#include <algorithm>
#include <cstring>

#include "picture/codecs/jpeg_colour.h"
#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_idct_simd.h"
#include "picture/picture.h"

namespace {
// Luma row plus per-chroma-sample offsets; `shift` 1 when each chroma sample serves two pixels.
void ConvertWithOffsets(const uint8_t* y, const int16_t* offsets, int shift, uint8_t* out, int width)
{
    const uint8_t* clamp = kJpegYcc.clamp + JpegYccTables::kClampBias;
    int x = 0;
    if (shift == 1) {
        for (; x + 1 < width; x += 2, offsets += 3, out += 6) {
            const int blue = offsets[0], green = offsets[1], red = offsets[2];
            const int luma0 = y[x], luma1 = y[x + 1];
            out[0] = clamp[luma0 + blue];
            out[1] = clamp[luma0 + green];
            out[2] = clamp[luma0 + red];
            out[3] = clamp[luma1 + blue];
            out[4] = clamp[luma1 + green];
            out[5] = clamp[luma1 + red];
        }
        if (x < width) {
            out[0] = clamp[y[x] + offsets[0]];
            out[1] = clamp[y[x] + offsets[1]];
            out[2] = clamp[y[x] + offsets[2]];
        }
        return;
    }
    for (; x < width; ++x, offsets += 3, out += 3) {
        const int luma = y[x];
        out[0] = clamp[luma + offsets[0]];
        out[1] = clamp[luma + offsets[1]];
        out[2] = clamp[luma + offsets[2]];
    }
}

// Sample x of a component with factor h (of hMax) is sample x * h / hMax: each sample repeated.
void UpsampleRow(const uint8_t* in, uint8_t* out, int width, int h, int hMax)
{
    for (int x = 0; x < width; ++x)
        out[x] = in[x * h / hMax];
}

// One or two picture rows (y1, out1 null: one) sharing a chroma row, at the given level.
void ConvertRows(SimdLevel level, const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr,
                 uint8_t* out0, uint8_t* out1, int width, int chromaShift)
{
#if defined(QUENTA_JPEG_COLOUR_X86)
    if (level >= SimdLevel::Avx2)
        return JpegYccToBgrRowsAvx2(y0, y1, cb, cr, out0, out1, width, chromaShift);
    if (level >= SimdLevel::Sse2)
        return JpegYccToBgrRowsSse2(y0, y1, cb, cr, out0, out1, width, chromaShift);
#endif
    (void)level;
    JpegYccToBgrRow(y0, cb, cr, out0, width, chromaShift);
    if (y1)
        JpegYccToBgrRow(y1, cb, cr, out1, width, chromaShift);
}

void ConvertGrey(SimdLevel level, const uint8_t* grey, uint8_t* out, int width)
{
#if defined(QUENTA_JPEG_COLOUR_X86)
    if (level >= SimdLevel::Avx2)
        return JpegGreyToBgrRowAvx2(grey, out, width);
    if (level >= SimdLevel::Sse2)
        return JpegGreyToBgrRowSse2(grey, out, width);
#endif
    (void)level;
    JpegGreyToBgrRow(grey, out, width);
}
} // namespace

void CJpegDecoder::WriteMcuRow(int mcuRow)
{
    const int top = mcuRow * m_outMcuHeight;
    m_offsetsRow = -1; // the chroma rows were just refilled
    const int bottom = std::min(m_outHeight, top + m_outMcuHeight);
    for (int y = top; y < bottom; ++y) {
        const int local = y - top;
        uint8_t* out = m_picture->Row(y);
        if (m_components.size() == 1) {
            const JpegComponent& c = m_components[0];
            ConvertGrey(m_simd, c.rowSamples.data() + size_t(local) * c.RowStride(), out, m_outWidth);
            continue;
        }
        if (m_chromaOffsetsUsable && m_simd >= SimdLevel::Sse2) {
            // Luma at full resolution, chroma at full or half: the vector kernels read the
            // chroma row directly, converting two picture rows per chroma row where it serves two.
            const JpegComponent& luma = m_components[0];
            const JpegComponent& cb = m_components[1];
            const JpegComponent& cr = m_components[2];
            const int chromaRow = local * cb.outV / m_vMax;
            const bool two = y + 1 < bottom && (local + 1) * cb.outV / m_vMax == chromaRow;
            const uint8_t* luma0 = luma.rowSamples.data() + size_t(local) * luma.RowStride();
            ConvertRows(m_simd, luma0, two ? luma0 + luma.RowStride() : nullptr,
                        cb.rowSamples.data() + size_t(chromaRow) * cb.RowStride(),
                        cr.rowSamples.data() + size_t(chromaRow) * cr.RowStride(), out,
                        two ? m_picture->Row(y + 1) : nullptr, m_outWidth, cb.outH == m_hMax ? 0 : 1);
            y += two ? 1 : 0;
            continue;
        }
        if (m_chromaOffsetsUsable) {
            // Both chroma components alike and each sample covering one or two pixels:
            // offsets computed once per chroma row serve every pixel row that repeats it.
            const JpegComponent& cb = m_components[1];
            const JpegComponent& cr = m_components[2];
            const int chromaRow = local * cb.outV / m_vMax;
            if (chromaRow != m_offsetsRow) {
                const uint8_t* cbRow = cb.rowSamples.data() + size_t(chromaRow) * cb.RowStride();
                const uint8_t* crRow = cr.rowSamples.data() + size_t(chromaRow) * cr.RowStride();
                const int samples = (m_outWidth * cb.outH + m_hMax - 1) / m_hMax;
                int16_t* o = m_chromaOffsets.data();
                for (int x = 0; x < samples; ++x, o += 3) {
                    o[0] = static_cast<int16_t>(kJpegYcc.cbToBlue[cbRow[x]]);
                    o[1] = static_cast<int16_t>(kJpegYcc.GreenOffset(cbRow[x], crRow[x]));
                    o[2] = static_cast<int16_t>(kJpegYcc.crToRed[crRow[x]]);
                }
                m_offsetsRow = chromaRow;
            }
            const JpegComponent& luma = m_components[0];
            ConvertWithOffsets(luma.rowSamples.data() + size_t(local) * luma.RowStride(), m_chromaOffsets.data(),
                               cb.outH == m_hMax ? 0 : 1, out, m_outWidth);
            continue;
        }
        const uint8_t* rows[3];
        for (int i = 0; i < 3; ++i) {
            const JpegComponent& c = m_components[size_t(i)];
            const uint8_t* src = c.rowSamples.data() + size_t(local * c.outV / m_vMax) * c.RowStride();
            if (c.outH == m_hMax) {
                rows[i] = src;
            } else {
                UpsampleRow(src, m_upsampled[i].data(), m_outWidth, c.outH, m_hMax);
                rows[i] = m_upsampled[i].data();
            }
        }
        ConvertRows(m_simd, rows[0], nullptr, rows[1], rows[2], out, nullptr, m_outWidth, 0);
    }
}

void CJpegDecoder::InverseTransform(const int16_t* block, const JpegComponent& c, uint8_t* out) const
{
    if (c.blockWidth == 8 && c.blockHeight == 8) {
#if defined(QUENTA_JPEG_IDCT_X86)
        if (m_simd >= SimdLevel::Sse2 && JpegInverseDctSse2(block, c.quantizer.data(), out, c.RowStride()))
            return;
#endif
        JpegInverseDct(block, c.quantizer.data(), out, c.RowStride());
    } else
        JpegInverseDctReduced(block, c.quantizer.data(), c.blockWidth, c.blockHeight, out, c.RowStride());
}

void CJpegDecoder::TransformStreamedBlock(size_t component, const JpegComponent& c, uint8_t* out)
{
#if defined(QUENTA_JPEG_IDCT_X86)
    if (m_pairStreamed) {
        StreamedBlocks& s = m_streamed[component];
        int16_t* block = s.blocks[s.waiting ^ 1];
        if (s.waitingOut && out == s.waitingOut + 8) {
            int16_t* first = s.blocks[s.waiting];
            if (!JpegInverseDctPairAvx2(first, block, c.quantizer.data(), s.waitingOut, out, c.RowStride())) {
                InverseTransform(first, c, s.waitingOut);
                InverseTransform(block, c, out);
            }
            std::memset(s.blocks, 0, sizeof s.blocks); // ready for the next two
            s.waitingOut = nullptr;
            return;
        }
        // Not the waiting block's neighbour (a block further down the MCU): that one goes alone.
        if (s.waitingOut) {
            InverseTransform(s.blocks[s.waiting], c, s.waitingOut);
            std::memset(s.blocks[s.waiting], 0, sizeof s.blocks[0]);
        }
        s.waitingOut = out;
        s.waiting ^= 1;
        return;
    }
#endif
    (void)component;
    StreamedBlocks& s = m_streamed[0]; // one slot, never waiting
    int16_t* block = s.blocks[s.waiting ^ 1];
    InverseTransform(block, c, out);
    std::memset(block, 0, sizeof s.blocks[0]); // ready for the next one
}

void CJpegDecoder::FlushStreamedBlocks()
{
    for (size_t i = 0; i < m_components.size() && i < m_streamed.size(); ++i) {
        StreamedBlocks& s = m_streamed[i];
        if (!s.waitingOut)
            continue;
        InverseTransform(s.blocks[s.waiting], m_components[i], s.waitingOut);
        std::memset(s.blocks[s.waiting], 0, sizeof s.blocks[0]);
        s.waitingOut = nullptr;
    }
}

void CJpegDecoder::TransformMcuRowFromCoefficients(int mcuRow)
{
    for (JpegComponent& c : m_components) {
        for (int by = 0; by < c.v; ++by) {
            const int blockRow = mcuRow * c.v + by;
            uint8_t* out = c.rowSamples.data() + size_t(by) * size_t(c.blockHeight) * c.RowStride();
            int col = 0;
#if defined(QUENTA_JPEG_IDCT_X86)
            // Two blocks at a time side by side, where AVX2 is there and the blocks are full-size.
            if (m_simd >= SimdLevel::Avx2 && c.blockWidth == 8 && c.blockHeight == 8) {
                for (; col + 1 < c.blocksWide; col += 2) {
                    const int16_t* first = CoefficientBlock(c, blockRow, col);
                    uint8_t* firstOut = out + size_t(col) * 8;
                    if (!JpegInverseDctPairAvx2(first, first + 64, c.quantizer.data(), firstOut, firstOut + 8,
                                                c.RowStride())) {
                        InverseTransform(first, c, firstOut);
                        InverseTransform(first + 64, c, firstOut + 8);
                    }
                }
            }
#endif
            for (; col < c.blocksWide; ++col)
                InverseTransform(CoefficientBlock(c, blockRow, col), c, out + size_t(col) * size_t(c.blockWidth));
        }
    }
}

void CJpegDecoder::FinishPicture()
{
    if (m_picture && m_mode == Mode::WholeImage) {
        for (JpegComponent& c : m_components)
            if (!c.quantizerLatched)
                c.quantizer = m_quant[c.quantIndex];
        for (int row = 0; row < m_mcuRows; ++row) {
            TransformMcuRowFromCoefficients(row);
            WriteMcuRow(row);
        }
    }
    ReleaseBuffers();
}
