#pragma once
// Checks a reduced JPEG decode against the full decode averaged over the same regions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "picture/codecs/jpeg_codec.h"
#include "picture/picture.h"

struct ReducedDiff {
    double mean = 0;
    int max = 0;
};

// Decodes `jpeg` whole and at 1/d; the reduced picture must be ceil(size / d) and each of its
// pixels close to the mean of the d x d region of the full decode it stands for.
inline ReducedDiff CompareReducedDecode(const std::vector<uint8_t>& jpeg, int d)
{
    CPicture full, reduced;
    EXPECT_TRUE(DecodeJpegReduced(jpeg.data(), jpeg.size(), 1, full, nullptr));
    EXPECT_TRUE(DecodeJpegReduced(jpeg.data(), jpeg.size(), d, reduced, nullptr));
    ReducedDiff diff;
    if (full.IsEmpty() || reduced.IsEmpty())
        return ReducedDiff{255, 255};
    EXPECT_EQ(reduced.Width(), (full.Width() + d - 1) / d);
    EXPECT_EQ(reduced.Height(), (full.Height() + d - 1) / d);
    EXPECT_EQ(reduced.BitsPerPixel(), full.BitsPerPixel());
    double total = 0;
    for (int y = 0; y < reduced.Height(); ++y)
        for (int x = 0; x < reduced.Width(); ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0, n = 0;
                for (int yy = y * d; yy < std::min(full.Height(), (y + 1) * d); ++yy)
                    for (int xx = x * d; xx < std::min(full.Width(), (x + 1) * d); ++xx, ++n)
                        sum += full.Row(yy)[3 * xx + c];
                const int delta = std::abs(reduced.Row(y)[3 * x + c] - (sum + n / 2) / n);
                total += delta;
                diff.max = std::max(diff.max, delta);
            }
    diff.mean = total / (3.0 * reduced.Width() * reduced.Height());
    return diff;
}
