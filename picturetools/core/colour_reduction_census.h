#pragma once
// The colour census of the reduction: every distinct colour of a rectangle with its pixel
// count, in ascending key order (key = blue << 16 | green << 8 | red).
#include <cstdint>
#include <vector>

class CPicture;
class CQnProgress;

// A colour of the census and later of the reduction's merging rounds: its weight (here the
// pixel count) and its B,G,R bytes.
struct ColourWeight {
    int32_t weight;
    uint8_t b, g, r;
};

// Counts the colours of columns x0..x1-1, rows y0..y1-1 (already inside the picture), with
// about one byte per pixel of working memory besides the list.
// Progress as a sort of all the keys would report it: "Referencing colors..." polled every 10
// rows, "Sorting colors table...", then "Counting colors..." over the key positions, polled
// where a run of equal keys crosses a multiple of 640. False when cancelled; throws
// std::bad_alloc when the working arrays cannot be had.
bool TakeColourCensus(const CPicture& picture, int x0, int y0, int x1, int y1, CQnProgress& sink,
                      std::vector<ColourWeight>& colours);
