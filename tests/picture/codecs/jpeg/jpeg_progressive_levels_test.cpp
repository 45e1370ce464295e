// Progressive decodes at every vector level give the same pixels: refinement finds the
// coefficients it refines through per-block masks that have an SSE2 and a portable variant.
#include <gtest/gtest.h>

#include <cstring>

#include "base/cpu_features.h"
#include "jpeg_test_support.h"
#include "libjpeg_reference.h"
#include "picture/picture.h"

namespace {
TEST(JpegProgressiveLevels, PortableAndVectorDecodesAgree)
{
    const SimdLevel before = ActiveSimdLevel();
    for (int quality : {60, 95}) {
        for (int restartRows : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "quality " << quality << " restarts " << restartRows);
            LibjpegEncodeOptions options;
            options.quality = quality;
            options.progressive = true;
            options.restartRows = restartRows;
            const std::vector<uint8_t> file = LibjpegEncode(MakePhotoLike(203, 157, uint32_t(quality)), options);
            ASSERT_FALSE(file.empty());
            CPicture portable, vector;
            ForceSimdLevel(SimdLevel::Portable);
            ASSERT_TRUE(DecodeJpeg(file, portable));
            ForceSimdLevel(before);
            ASSERT_TRUE(DecodeJpeg(file, vector));
            ASSERT_EQ(portable.Width(), vector.Width());
            for (int y = 0; y < int(portable.Height()); ++y)
                ASSERT_EQ(0, std::memcmp(portable.Row(y), vector.Row(y), size_t(portable.Width()) * 3)) << "row " << y;
        }
    }
    ForceSimdLevel(before);
}
} // namespace
