#include <gtest/gtest.h>

#include "base/cpu_features.h"

// Forcing a level caps the vector paths and can be lifted again up to what the processor has.
TEST(CpuFeatures, ForcedLevelCapsAndIsRestored)
{
    ForceSimdLevel(SimdLevel::Avx2);
    const SimdLevel supported = ActiveSimdLevel();
#if defined(__x86_64__) || defined(_M_X64)
    EXPECT_GE(supported, SimdLevel::Sse2);
#else
    EXPECT_EQ(supported, SimdLevel::Portable);
#endif
    ForceSimdLevel(SimdLevel::Portable);
    EXPECT_EQ(ActiveSimdLevel(), SimdLevel::Portable);
    EXPECT_FALSE(UseSse2());
    EXPECT_FALSE(UseAvx2());
    ForceSimdLevel(SimdLevel::Avx2);
    EXPECT_EQ(ActiveSimdLevel(), supported);
}
