// The portable colour conversion of the JPEG decoder.
#include "picture/codecs/jpeg_colour.h"

#include <algorithm>

JpegYccTables::JpegYccTables()
{
    for (int i = 0; i < 256; ++i) {
        crToRed[i] = (5742 * i - 732928) >> 12;
        cbToBlue[i] = (7258 * i - 926976) >> 12;
        cbToGreen[i] = 1409 * i;
        crToGreen[i] = 2925 * i - 552704;
    }
    for (int i = 0; i < 1024; ++i)
        clamp[i] = static_cast<uint8_t>(std::clamp(i - kClampBias, 0, 255));
}

const JpegYccTables kJpegYcc;

void JpegYccToBgrRow(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, uint8_t* out, int width,
                     int chromaShift)
{
    const uint8_t* clamp = kJpegYcc.clamp + JpegYccTables::kClampBias;
    for (int x = 0; x < width; ++x) {
        const int luma = y[x];
        const int b = cb[x >> chromaShift], r = cr[x >> chromaShift];
        out[0] = clamp[luma + kJpegYcc.cbToBlue[b]];
        out[1] = clamp[luma + kJpegYcc.GreenOffset(b, r)];
        out[2] = clamp[luma + kJpegYcc.crToRed[r]];
        out += 3;
    }
}

void JpegGreyToBgrRow(const uint8_t* grey, uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        out[0] = out[1] = out[2] = grey[x];
        out += 3;
    }
}
