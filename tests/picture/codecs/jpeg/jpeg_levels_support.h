#pragma once
// Decoding one file at each vector level, for tests that every level gives the same picture.
#include <cstdint>
#include <string>
#include <vector>

#include "base/cpu_features.h"
#include "base/progress.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/picture.h"

// The decoded picture's rows (width x 3 bytes each) at `level` and 1/`reduction` size, or the
// error's text; the level is set back to the processor's own afterwards.
inline std::string DecodeAtLevel(const std::vector<uint8_t>& bytes, SimdLevel level, int reduction)
{
    ForceSimdLevel(level);
    CPicture picture;
    JpegSource source{bytes.data(), bytes.size(), 0};
    CJpegDecoder decoder(source, &picture, CQnProgress::Silent());
    decoder.SetReduction(reduction);
    std::string result;
    try {
        decoder.Decode();
        for (int y = 0; y < picture.Height(); ++y)
            result.append(reinterpret_cast<const char*>(picture.Row(y)), size_t(picture.Width()) * 3);
    } catch (const std::exception& e) {
        result = std::string("error: ") + e.what();
    }
    ForceSimdLevel(SimdLevel::Avx2);
    return result;
}

// Every level at every reduction decodes `bytes` as the portable code does.
inline void ExpectSameAtEveryLevel(const std::vector<uint8_t>& bytes, const std::string& name)
{
    ForceSimdLevel(SimdLevel::Avx2);
    const bool avx2 = UseAvx2();
    ASSERT_TRUE(avx2) << "this processor has no AVX2: the AVX2 decode cannot be tested";
    for (int reduction : {1, 2, 4, 8}) {
        const std::string portable = DecodeAtLevel(bytes, SimdLevel::Portable, reduction);
        ASSERT_FALSE(portable.empty()) << name;
        EXPECT_EQ(portable.rfind("error: ", 0), std::string::npos) << name << ": " << portable;
        EXPECT_TRUE(DecodeAtLevel(bytes, SimdLevel::Sse2, reduction) == portable) << name << " sse2 1/" << reduction;
        EXPECT_TRUE(DecodeAtLevel(bytes, SimdLevel::Avx2, reduction) == portable) << name << " avx2 1/" << reduction;
    }
}
