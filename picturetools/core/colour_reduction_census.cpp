// The census without sorting every pixel's key: the pixels are bucketed by blue (one 16-bit
// green-red value each, for half the blue values at a time), then each bucket is counted in a
// 65536-entry table whose occupied entries a bitmap lists in ascending order.
#include "picturetools/core/colour_reduction_census.h"

#include <algorithm>
#include <array>
#include <memory>

#include "base/progress.h"
#include "picture/picture.h"

namespace {

constexpr size_t kGreenRed = 1 << 16;

// Pixel counts of one blue bucket, with a bitmap of the entries in use so that the walk in
// ascending order skips empty stretches 64 entries at a time.
class BucketCounter {
public:
    BucketCounter() : m_counts(new uint32_t[kGreenRed]()), m_used{} {}

    void Add(uint16_t greenRed)
    {
        if (m_counts[greenRed]++ == 0)
            m_used[greenRed >> 6] |= uint64_t(1) << (greenRed & 63);
    }

    // Calls emit(greenRed, pixels) in ascending order and leaves the counter empty.
    template <class Emit> bool Drain(Emit&& emit)
    {
        for (size_t w = 0; w < m_used.size(); ++w) {
            uint64_t bits = m_used[w];
            m_used[w] = 0;
            while (bits) {
                const unsigned bit = unsigned(__builtin_ctzll(bits));
                bits &= bits - 1;
                const size_t greenRed = w * 64 + bit;
                const uint32_t pixels = m_counts[greenRed];
                m_counts[greenRed] = 0;
                if (!emit(uint16_t(greenRed), pixels)) {
                    Clear(w + 1);
                    return false;
                }
            }
        }
        return true;
    }

private:
    void Clear(size_t fromWord)
    {
        for (size_t w = fromWord; w < m_used.size(); ++w)
            m_used[w] = 0;
        for (size_t i = 0; i < kGreenRed; ++i)
            m_counts[i] = 0;
    }

    std::unique_ptr<uint32_t[]> m_counts;
    std::array<uint64_t, kGreenRed / 64> m_used;
};

} // namespace

bool TakeColourCensus(const CPicture& picture, int x0, int y0, int x1, int y1, CQnProgress& sink,
                      std::vector<ColourWeight>& colours)
{
    colours.clear();
    sink.SetText("Referencing colors...");
    sink.SetRange(y0, y1);
    // Pixels per blue value.
    std::array<size_t, 257> start{}; // bucket b: positions start[b] .. start[b+1]-1 of all keys
    for (int y = y0; y < y1; ++y) {
        if (y % 10 == 0 && !sink.SetPos(y))
            return false;
        const uint8_t* p = picture.Row(y) + size_t(x0) * 3;
        for (int x = x0; x < x1; ++x, p += 3)
            ++start[size_t(p[0]) + 1];
    }
    sink.SetText("Sorting colors table...");
    for (size_t b = 0; b < 256; ++b)
        start[b + 1] += start[b];
    const size_t total = start[256];

    // The blue values are taken in ranges of about half the pixels each (a single heavier
    // value forms its own range): the bucketed green-red values of one range at a time need
    // half the memory, for one more read of the picture.
    const size_t limit = std::max<size_t>(total / 2, 1);
    size_t largest = 0;
    for (size_t b0 = 0; b0 < 256;) {
        size_t b1 = b0 + 1;
        while (b1 < 256 && start[b1 + 1] - start[b0] <= limit)
            ++b1;
        largest = std::max(largest, start[b1] - start[b0]);
        b0 = b1;
    }
    std::unique_ptr<uint16_t[]> greenRed(new uint16_t[std::max<size_t>(largest, 1)]);

    sink.SetText("Counting colors...");
    sink.SetRange(0, static_cast<int64_t>(total));
    BucketCounter counter;
    size_t position = 0; // of the colour's first key in the sorted order of all keys
    for (size_t b0 = 0; b0 < 256;) {
        size_t b1 = b0 + 1;
        while (b1 < 256 && start[b1 + 1] - start[b0] <= limit)
            ++b1;
        // Bucket b of the range goes to greenRed[start[b] - start[b0] ...].
        std::array<size_t, 256> fill;
        for (size_t b = b0; b < b1; ++b)
            fill[b] = start[b] - start[b0];
        if (start[b1] != start[b0]) {
            for (int y = y0; y < y1; ++y) {
                const uint8_t* p = picture.Row(y) + size_t(x0) * 3;
                for (int x = x0; x < x1; ++x, p += 3)
                    if (p[0] >= b0 && p[0] < b1)
                        greenRed[fill[p[0]]++] = uint16_t(p[1] << 8 | p[2]);
            }
        }
        for (size_t blue = b0; blue < b1; ++blue) {
            if (start[blue] == start[blue + 1])
                continue;
            for (size_t i = start[blue] - start[b0]; i < start[blue + 1] - start[b0]; ++i)
                counter.Add(greenRed[i]);
            const bool finished = counter.Drain([&](uint16_t gr, uint32_t pixels) {
                const size_t end = position + pixels;
                if (position / 640 != end / 640 && !sink.SetPos(static_cast<int64_t>(end)))
                    return false;
                colours.push_back({int32_t(pixels), uint8_t(blue), uint8_t(gr >> 8), uint8_t(gr)});
                position = end;
                return true;
            });
            if (!finished)
                return false;
        }
        b0 = b1;
    }
    return true;
}
