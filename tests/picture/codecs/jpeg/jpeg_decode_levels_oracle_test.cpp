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

namespace {
// The rows decoded (kept after an error, as the codec does) and the error's text, at `level`.
std::string DecodeKeepingRows(const std::vector<uint8_t>& bytes, SimdLevel level)
{
    ForceSimdLevel(level);
    CPicture picture;
    JpegSource source{bytes.data(), bytes.size(), 0};
    CJpegDecoder decoder(source, &picture, CQnProgress::Silent());
    std::string error;
    try {
        decoder.Decode();
    } catch (const std::exception& e) {
        error = std::string("error: ") + e.what();
    }
    ForceSimdLevel(SimdLevel::Avx2);
    std::string result;
    for (int y = 0; y < picture.Height(); ++y)
        result.append(reinterpret_cast<const char*>(picture.Row(y)), size_t(picture.Width()) * 3);
    return result + error;
}
} // namespace

TEST(JpegDecodeLevels, DamagedSequentialFilesKeepTheSameRowsAtEveryLevel)
{
    // Row-by-row decoding holds blocks back to transform them in pairs: a scan broken in the
    // middle of an MCU row must leave the rows before it exactly as the portable code does.
    ForceSimdLevel(SimdLevel::Avx2);
    ASSERT_TRUE(UseAvx2()) << "this processor has no AVX2: the AVX2 decode cannot be tested";
    const RgbImage source = MakePhotoLike(83, 61, 7);
    int errors = 0;
    for (const int h : {1, 2}) {
        for (const int v : {1, 2}) {
            LibjpegEncodeOptions options;
            options.quality = 85;
            options.hSampling = h;
            options.vSampling = v;
            const std::vector<uint8_t> good = LibjpegEncode(source, options);
            ASSERT_FALSE(good.empty());
            for (const size_t tenths : {4u, 6u, 8u}) {
                std::vector<uint8_t> damaged = good;
                const size_t at = damaged.size() * tenths / 10;
                for (size_t i = 0; i < 24; ++i)
                    damaged[at + i] = uint8_t(0x3D * (i + tenths) + 0x11);
                const std::string portable = DecodeKeepingRows(damaged, SimdLevel::Portable);
                errors += portable.find("error: ") != std::string::npos;
                const std::string name = std::to_string(h) + "x" + std::to_string(v) + " at " + std::to_string(at);
                EXPECT_TRUE(DecodeKeepingRows(damaged, SimdLevel::Sse2) == portable) << name;
                EXPECT_TRUE(DecodeKeepingRows(damaged, SimdLevel::Avx2) == portable) << name;
            }
        }
    }
    EXPECT_GT(errors, 0) << "no damaged file stopped the decoder: the error path went untested";
}
