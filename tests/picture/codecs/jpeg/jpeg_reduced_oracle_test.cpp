// Reduced-size decoding of the layouts other encoders write: chroma subsampled 4:2:0 and
// 4:2:2, grey, progressive, with restart intervals.
#include <gtest/gtest.h>

#include "jpeg_reduced_support.h"
#include "libjpeg_reference.h"

namespace {

TEST(JpegReducedOracle, EveryLayoutStaysCloseToTheAveragedFullDecode)
{
    const RgbImage photo = MakePhotoLike(237, 165, 3);
    struct Layout {
        int h, v;
        bool grey, progressive;
        int restartBlocks;
    };
    for (const Layout& layout : {Layout{2, 2, false, false, 0}, Layout{2, 1, false, false, 5},
                                 Layout{1, 1, false, true, 0}, Layout{2, 2, false, true, 0},
                                 Layout{1, 1, true, false, 0}, Layout{1, 1, true, true, 3}}) {
        LibjpegEncodeOptions options;
        options.quality = 85;
        options.hSampling = layout.h;
        options.vSampling = layout.v;
        options.grey = layout.grey;
        options.progressive = layout.progressive;
        options.restartBlocks = layout.restartBlocks;
        const std::vector<uint8_t> jpeg = LibjpegEncode(photo, options);
        ASSERT_FALSE(jpeg.empty());
        for (int d : {2, 4, 8}) {
            const ReducedDiff diff = CompareReducedDecode(jpeg, d);
            EXPECT_LT(diff.mean, 3.0) << d << " " << layout.h << layout.v << layout.grey << layout.progressive;
            EXPECT_LE(diff.max, 64) << d << " " << layout.h << layout.v << layout.grey << layout.progressive;
        }
    }
}

} // namespace
