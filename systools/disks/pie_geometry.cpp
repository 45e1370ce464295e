#include "systools/disks/pie_geometry.h"

#include <algorithm>
#include <cmath>

int GradientLevel(int line, int height)
{
    if (height < 0)
        height = 0;
    line = std::clamp(line, 0, height);
    const int64_t step = 0x7F0000 / (static_cast<int64_t>(height) + 1);
    return static_cast<int>(((int64_t{128} << 16) + step * line) >> 16);
}

PieLayout LayOutPie(const PieRect& frame)
{
    PieLayout layout;
    int width = std::max(0, frame.Width() - 2 * kPieSideMargin);
    int height = width / 2;
    const int room = frame.Height() - kPieBaseDepth; // the base hangs below the pie
    if (height > room) {
        height = std::max(0, room);
        width = 2 * height;
    }
    const int left = frame.left + (frame.Width() - width) / 2;
    const int top = frame.top + (frame.Height() - height - kPieBaseDepth) / 2;
    layout.top = {left, top, left + width, top + height};
    layout.base = {left, top + kPieBaseDepth, left + width, top + height + kPieBaseDepth};
    const int middle = top + height / 2;
    layout.band = {left, middle, left + width, middle + kPieBaseDepth};
    return layout;
}

PiePoint PointAtAngle(const PieRect& pie, double angle)
{
    const double cx = (pie.left + pie.right) / 2.0;
    const double cy = (pie.top + pie.bottom) / 2.0;
    const double rx = pie.Width() / 2.0;
    const double ry = pie.Height() / 2.0;
    return {static_cast<int>(std::lround(cx + rx * std::cos(angle))),
            static_cast<int>(std::lround(cy - ry * std::sin(angle)))};
}

double FreeSectorAngle(unsigned freePercent) { return freePercent * kRadiansPerPercent; }

std::vector<PieSector> PieSectors(const PieRect& pie, unsigned freePercent)
{
    const PiePoint start = PointAtAngle(pie, 0.0);
    const PiePoint end = PointAtAngle(pie, FreeSectorAngle(std::min(freePercent, 100u)));
    const bool meet = start.x == end.x && start.y == end.y;
    if (freePercent == 0 || (meet && freePercent < 50))
        return {PieSector{false, true, start, start}};
    if (freePercent >= 100 || meet)
        return {PieSector{true, true, start, start}};
    return {PieSector{true, false, start, end}, PieSector{false, false, end, start}};
}
