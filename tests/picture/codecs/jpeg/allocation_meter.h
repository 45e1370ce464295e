#pragma once
// Counts the bytes held through operator new in this test program: the current total and the
// highest total since the last Reset().
#include <cstddef>

namespace AllocationMeter {
void Reset();
size_t Peak();
size_t Current();
} // namespace AllocationMeter
