#include "base/cpu_features.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {
SimdLevel ProcessorLevel()
{
#if defined(__x86_64__) || defined(_M_X64)
#if defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return SimdLevel::Avx2;
#endif
    return SimdLevel::Sse2;
#else
    return SimdLevel::Portable;
#endif
}

SimdLevel LevelFromEnvironment(SimdLevel supported)
{
    const char* text = std::getenv("QUENTA_SIMD");
    if (!text)
        return supported;
    SimdLevel asked = supported;
    if (std::strcmp(text, "portable") == 0)
        asked = SimdLevel::Portable;
    else if (std::strcmp(text, "sse2") == 0)
        asked = SimdLevel::Sse2;
    return asked < supported ? asked : supported;
}

std::atomic<int>& Level()
{
    static std::atomic<int> level{int(LevelFromEnvironment(ProcessorLevel()))};
    return level;
}
} // namespace

SimdLevel ActiveSimdLevel() { return SimdLevel(Level().load(std::memory_order_relaxed)); }

void ForceSimdLevel(SimdLevel level)
{
    const SimdLevel supported = ProcessorLevel();
    Level().store(int(level < supported ? level : supported), std::memory_order_relaxed);
}
