// From decoded samples to picture rows: replicated upsampling and YCbCr to BGR.
#include <algorithm>

#include "picture/codecs/jpeg_dct.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/picture.h"

namespace {
// Colour conversion in 12-bit fixed point, split into per-channel tables; the green term keeps
// its two products separate so that the shift acts on their exact sum.
struct YccTables {
    int crToRed[256], cbToBlue[256], cbToGreen[256], crToGreen[256];
    YccTables()
    {
        for (int i = 0; i < 256; ++i) {
            crToRed[i] = (5742 * i - 732928) >> 12;
            cbToBlue[i] = (7258 * i - 926976) >> 12;
            cbToGreen[i] = 1409 * i;
            crToGreen[i] = 2925 * i - 552704;
        }
    }
};
const YccTables kYcc;

inline uint8_t Clamp255(int v)
{
    return static_cast<uint8_t>(static_cast<unsigned>(v) > 255 ? (v < 0 ? 0 : 255) : v);
}

void ConvertRow(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        const int luma = y[x];
        const int b = cb[x], r = cr[x];
        out[0] = Clamp255(luma + kYcc.cbToBlue[b]);
        out[1] = Clamp255(luma - ((kYcc.cbToGreen[b] + kYcc.crToGreen[r]) >> 12));
        out[2] = Clamp255(luma + kYcc.crToRed[r]);
        out += 3;
    }
}

// Sample x of a component with factor h (of hMax) is sample x * h / hMax: each sample repeated.
void UpsampleRow(const uint8_t* in, uint8_t* out, int width, int h, int hMax)
{
    if (hMax == 2 * h) {
        for (int x = 0; x + 1 < width; x += 2)
            out[x] = out[x + 1] = in[x >> 1];
        if (width & 1)
            out[width - 1] = in[(width - 1) >> 1];
        return;
    }
    for (int x = 0; x < width; ++x)
        out[x] = in[x * h / hMax];
}
} // namespace

void CJpegDecoder::WriteMcuRow(int mcuRow)
{
    const int top = mcuRow * m_mcuHeight;
    const int bottom = std::min(m_height, top + m_mcuHeight);
    for (int y = top; y < bottom; ++y) {
        const int local = y - top;
        uint8_t* out = m_picture->Row(y);
        if (m_components.size() == 1) {
            const uint8_t* grey = m_components[0].rowSamples.data() + size_t(local) * m_components[0].RowStride();
            for (int x = 0; x < m_width; ++x) {
                out[0] = out[1] = out[2] = grey[x];
                out += 3;
            }
            continue;
        }
        const uint8_t* rows[3];
        for (int i = 0; i < 3; ++i) {
            const JpegComponent& c = m_components[size_t(i)];
            const uint8_t* src = c.rowSamples.data() + size_t(local * c.v / m_vMax) * c.RowStride();
            if (c.h == m_hMax) {
                rows[i] = src;
            } else {
                UpsampleRow(src, m_upsampled[i].data(), m_width, c.h, m_hMax);
                rows[i] = m_upsampled[i].data();
            }
        }
        ConvertRow(rows[0], rows[1], rows[2], out, m_width);
    }
}

void CJpegDecoder::TransformMcuRowFromCoefficients(int mcuRow)
{
    for (JpegComponent& c : m_components) {
        for (int by = 0; by < c.v; ++by) {
            const int blockRow = mcuRow * c.v + by;
            uint8_t* out = c.rowSamples.data() + size_t(by) * 8 * c.RowStride();
            for (int col = 0; col < c.blocksWide; ++col)
                JpegInverseDct(CoefficientBlock(c, blockRow, col), c.quantizer.data(), out + size_t(col) * 8,
                               c.RowStride());
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
