// Files of libjpeg-turbo's writer in every sampling it offers, sequential and progressive,
// decoded at each vector level: the same picture byte for byte as the portable code's.
#include <gtest/gtest.h>

#include "jpeg_levels_support.h"
#include "libjpeg_reference.h"

TEST(JpegDecodeLevels, LibjpegSamplingsSameAtEveryLevel)
{
    struct Sampling { const char* name; int h, v; bool grey; };
    const Sampling samplings[] = {{"444", 1, 1, false}, {"422", 2, 1, false}, {"420", 2, 2, false},
                                  {"440", 1, 2, false}, {"411", 4, 1, false}, {"410", 4, 2, false},
                                  {"grey", 1, 1, true}};
    const int sizes[][2] = {{1, 1}, {17, 9}, {67, 45}, {203, 131}};
    for (const auto& size : sizes) {
        const RgbImage source = MakePhotoLike(size[0], size[1], 5);
        for (const Sampling& sampling : samplings) {
            for (bool progressive : {false, true}) {
                LibjpegEncodeOptions options;
                options.quality = progressive ? 95 : 60;
                options.hSampling = sampling.h;
                options.vSampling = sampling.v;
                options.grey = sampling.grey;
                options.progressive = progressive;
                ExpectSameAtEveryLevel(LibjpegEncode(source, options),
                                       std::to_string(size[0]) + "x" + std::to_string(size[1]) + "-" + sampling.name +
                                           (progressive ? "-progressive" : ""));
            }
        }
    }
}
