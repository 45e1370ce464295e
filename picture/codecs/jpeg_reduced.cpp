// Reduced-size JPEG decoding (see jpeg_codec.h).
#include "base/progress.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/picture.h"

bool ReadJpegFrameSize(const uint8_t* data, size_t size, JpegFrameSize& frame)
{
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        return false;
    try {
        JpegSource source;
        source.data = data;
        source.size = size;
        CJpegDecoder decoder(source, nullptr, CQnProgress::Silent());
        decoder.Decode();
        if (!decoder.HasFrame())
            return false;
        frame.width = decoder.Width();
        frame.height = decoder.Height();
        frame.components = decoder.ComponentCount();
        return true;
    } catch (...) {
        return false;
    }
}

int JpegReductionFor(int width, int height, int minWidth, int minHeight)
{
    for (int d : {8, 4, 2})
        if ((width + d - 1) / d >= minWidth && (height + d - 1) / d >= minHeight)
            return d;
    return 1;
}

bool DecodeJpegReduced(const uint8_t* data, size_t size, int denominator, CPicture& picture, CQnProgress* progress)
{
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        return false;
    CQnProgress& sink = ProgressOrSilent(progress);
    const int depth = sink.Nesting();
    try {
        JpegSource source;
        source.data = data;
        source.size = size;
        sink.Begin();
        sink.SetRange(0, 100);
        CJpegDecoder decoder(source, &picture, sink);
        decoder.SetReduction(denominator);
        decoder.Decode();
        sink.End(false);
        return decoder.HasFrame() && !picture.IsEmpty();
    } catch (...) {
    }
    sink.RestoreNesting(depth);
    return false;
}
