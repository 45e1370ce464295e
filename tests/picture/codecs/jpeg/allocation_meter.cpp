// Replaces the global operator new and delete of the program it is linked into; each block
// carries its size in front of it.
#include "allocation_meter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
constexpr size_t kHeader = alignof(std::max_align_t);
std::atomic<size_t> g_current{0};
std::atomic<size_t> g_peak{0};

void* Take(size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = g_current.fetch_add(size) + size;
    size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}

void Give(void* p) noexcept
{
    if (!p)
        return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    g_current.fetch_sub(*reinterpret_cast<size_t*>(block));
    std::free(block);
}
} // namespace

void* operator new(size_t size) { return Take(size); }
void* operator new[](size_t size) { return Take(size); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, size_t) noexcept { Give(p); }
void operator delete[](void* p, size_t) noexcept { Give(p); }

namespace AllocationMeter {
void Reset() { g_peak.store(g_current.load()); }
size_t Peak() { return g_peak.load(); }
size_t Current() { return g_current.load(); }
} // namespace AllocationMeter
