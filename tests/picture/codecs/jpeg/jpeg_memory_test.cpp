// What the JPEG reader holds while it decodes: a progressive picture needs its coefficients
// (2 bytes each) besides the picture itself, and little more.
#include <gtest/gtest.h>

#include "allocation_meter.h"
#include "jpeg_test_support.h"
#include "libjpeg_reference.h"
#include "picture/picture.h"

namespace {
struct Layout {
    int width, height, h, v; // luma sampling factors; chroma is 1 x 1
};

// Coefficient bytes of the blocks that cover each component's samples.
size_t CoefficientBytes(const Layout& l)
{
    size_t blocks = 0;
    for (int i = 0; i < 3; ++i) {
        const int h = i == 0 ? l.h : 1, v = i == 0 ? l.v : 1;
        const size_t width = (size_t(l.width) * h + l.h - 1) / l.h;
        const size_t height = (size_t(l.height) * v + l.v - 1) / l.v;
        blocks += ((width + 7) / 8) * ((height + 7) / 8);
    }
    return blocks * 64 * 2;
}

TEST(JpegReaderMemory, ProgressiveDecodeHoldsCoefficientsAndRowsOnly)
{
    // 1009 x 737 leaves a column and a row of luma blocks in the last MCUs outside the picture.
    for (const Layout& l : {Layout{1000, 750, 2, 2}, Layout{1009, 737, 2, 2}, Layout{640, 480, 1, 1},
                            Layout{517, 389, 2, 1}}) {
        SCOPED_TRACE(testing::Message() << l.width << "x" << l.height << " " << l.h << "x" << l.v);
        LibjpegEncodeOptions options;
        options.quality = 85;
        options.progressive = true;
        options.hSampling = l.h;
        options.vSampling = l.v;
        const std::vector<uint8_t> file = LibjpegEncode(MakePhotoLike(l.width, l.height, 5), options);
        ASSERT_FALSE(file.empty());

        const size_t before = AllocationMeter::Current();
        AllocationMeter::Reset();
        CPicture picture; // its pixels come from calloc, outside the meter
        ASSERT_TRUE(DecodeJpeg(file, picture));
        const size_t held = AllocationMeter::Peak() - before;
        // Beyond the coefficients: one MCU row of samples and a few picture rows.
        const size_t rows = size_t(l.width) * 40 + 8192;
        EXPECT_LE(held, CoefficientBytes(l) + rows) << "held " << held;
        EXPECT_GE(held, CoefficientBytes(l)) << "the meter sees the coefficients";
    }
}
} // namespace
