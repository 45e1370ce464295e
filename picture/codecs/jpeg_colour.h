#pragma once
// YCbCr (and grey) rows of the JPEG decoder to B, G, R pixels. Fixed-point formulas in 12
// bits; the portable functions are the reference that the vector ones equal byte for byte.
#include <cstdint>

// The colour conversion split into per-channel tables; the green term keeps its two products
// separate so that the shift acts on their exact sum.
struct JpegYccTables {
    int crToRed[256], cbToBlue[256], cbToGreen[256], crToGreen[256];
    // Clamp to 0..255 of any luma plus offset: index v + kClampBias.
    static constexpr int kClampBias = 384;
    uint8_t clamp[1024];
    JpegYccTables();
    int GreenOffset(int cb, int cr) const { return -((cbToGreen[cb] + crToGreen[cr]) >> 12); }
};
extern const JpegYccTables kJpegYcc;

// One row of `width` pixels; pixel x takes chroma sample x >> chromaShift (0 or 1).
void JpegYccToBgrRow(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, uint8_t* out, int width,
                     int chromaShift);
void JpegGreyToBgrRow(const uint8_t* grey, uint8_t* out, int width);

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#define QUENTA_JPEG_COLOUR_X86 1
// One or two rows (y1 and out1 null: one) sharing a chroma row, as JpegYccToBgrRow.
void JpegYccToBgrRowsSse2(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint8_t* out0,
                          uint8_t* out1, int width, int chromaShift);
void JpegGreyToBgrRowSse2(const uint8_t* grey, uint8_t* out, int width);
// The same with AVX2 (ask UseAvx2() first).
void JpegYccToBgrRowsAvx2(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint8_t* out0,
                          uint8_t* out1, int width, int chromaShift);
void JpegGreyToBgrRowAvx2(const uint8_t* grey, uint8_t* out, int width);
#endif
