#pragma once
// The geometry of the disk properties pie chart, in pixels of the chart frame: the gradient
// behind it, the pie's ellipse with its cylinder base, and the two sectors' end points.
#include <cstdint>
#include <vector>

struct PieRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct PiePoint {
    int x = 0, y = 0;
};

inline constexpr int kPieSideMargin = 20; // between the frame and the pie at left and right
inline constexpr int kPieBaseDepth = 10;  // the cylinder base lies this much lower
inline constexpr double kRadiansPerPercent = 0.0628;

// The grey level (128 at the top, rising towards 255) of line `line` of a gradient `height`
// lines high: 16.16 fixed point, starting at 128 and stepping 0x7F0000 / (height + 1) per line.
int GradientLevel(int line, int height);

struct PieLayout {
    PieRect top;  // the pie's ellipse
    PieRect base; // the base's ellipse, kPieBaseDepth lower
    // The black band between the two ellipses' middle lines.
    PieRect band;
};

// The pie inside `frame`: the frame less kPieSideMargin at left and right, twice as wide as
// high, centred; where the frame is too low for that (with the base below), the pie is made
// smaller, still twice as wide as high and centred. An empty pie for a frame too small.
PieLayout LayOutPie(const PieRect& frame);

// The point where the radius at `angle` radians (counter-clockwise from 3 o'clock) meets the
// bounding ellipse of `pie`, in screen orientation (y grows downwards).
PiePoint PointAtAngle(const PieRect& pie, double angle);

// The angle that ends the free sector: p x 0.0628 radians.
double FreeSectorAngle(unsigned freePercent);

// A sector to draw: the free or the used part, from `start` counter-clockwise to `end`, or
// the whole ellipse (GDI draws a whole ellipse when the two points meet, so a part too thin
// to show is left out rather than drawn whole).
struct PieSector {
    bool free = false;
    bool whole = false;
    PiePoint start, end;
};

// The free sector from 3 o'clock to FreeSectorAngle(p), then the used sector from there back
// to 3 o'clock; 0 % gives the used part whole, 100 % the free part whole.
std::vector<PieSector> PieSectors(const PieRect& pie, unsigned freePercent);
