#pragma once
// The pages of the picture viewer: which tabs a picture gets, and the picture each tab shows.
#include <memory>
#include <vector>

class CPicture;

enum class ViewerPage { RgbAlpha, Rgb, Red, Green, Blue, Alpha, Info };

struct ViewerTab {
    ViewerPage page;
    unsigned labelId; // string table id of the tab's title
};

// The tabs in order; "RGB-A" and "Alpha" only for a picture with an alpha plane.
std::vector<ViewerTab> ViewerTabsFor(bool hasAlpha);

// The 24-bit picture shown on `page` (null for the Info page, or when memory runs out):
//  RgbAlpha: the picture composed through its alpha plane over 8 x 8 squares of white and
//            light grey (230); without an alpha plane, the picture as it is;
//  Rgb:      the colours as they are;
//  Red, Green, Blue: that channel kept, the other two zero;
//  Alpha:    the alpha plane as grey (opaque white where there is no alpha plane).
// The result has no alpha plane and keeps the source's name and description.
std::unique_ptr<CPicture> MakePagePicture(const CPicture& source, ViewerPage page);

// Checkerboard shade behind a transparent pixel at (x, y).
inline int CheckerShade(int x, int y) { return ((x / 8) + (y / 8)) % 2 ? 230 : 255; }
