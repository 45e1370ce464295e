#pragma once
// Which vector instruction sets the codecs may use on this processor. SSE2 is part of every
// x86-64 processor; AVX2 is asked of the processor once, at first use. Other processors run
// the portable code. Tests force a lower level to compare every path with the portable one.

enum class SimdLevel { Portable = 0, Sse2 = 1, Avx2 = 2 };

// The highest level this processor supports, lowered by ForceSimdLevel.
SimdLevel ActiveSimdLevel();

// Caps the level for the rest of the process (tests and benchmarks); a level above what the
// processor supports is lowered to it. QUENTA_SIMD=portable|sse2|avx2 in the environment caps
// it the same way at start-up.
void ForceSimdLevel(SimdLevel level);

inline bool UseSse2() { return ActiveSimdLevel() >= SimdLevel::Sse2; }
inline bool UseAvx2() { return ActiveSimdLevel() >= SimdLevel::Avx2; }
