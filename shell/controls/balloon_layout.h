#pragma once
// Where a tooltip balloon goes: the tip text's box enlarged by margins, with a triangular
// pointer towards the cursor, kept inside the screen. Coordinates of the parts are relative
// to the balloon window, whose own rectangle is in screen coordinates.
namespace balloon {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
struct Size {
    int cx = 0, cy = 0;
};
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const Rect&) const = default;
};

struct Margins {
    int horizontal = 8; // left and right of the text
    int vertical = 6;   // above and below the text
};

struct Layout {
    Rect window;       // screen coordinates: body, pointer and shadow
    Rect body;         // the rounded rectangle
    Point pointer[3];  // the triangle: two points on the body's edge, then the tip
    Rect text;         // where the text is drawn
    bool pointsUp = true;       // the body lies below the cursor
    bool pointerOnLeft = true;  // the pointer sits near the body's left end
};

inline constexpr int kPointerHeight = 14;  // from the body's edge to the tip
inline constexpr int kPointerInset = 14;   // from the body's end to the pointer's near side
inline constexpr int kPointerWidth = 12;   // of the pointer's base
inline constexpr int kCornerDiameter = 16;
inline constexpr int kTipGap = 2;          // between the cursor's hot spot and the tip

// The balloon for a text of `text` pixels shown at the cursor on a screen of `screen` pixels,
// with its shadow `shadow` pixels to the right and down. It prefers lying below and to the
// right of the cursor, flips above or to the left where the screen ends, and is finally moved
// back inside the screen when it is still too large for the space.
Layout LayoutBalloon(Size text, Margins margins, Point cursor, Size screen, Size shadow);

} // namespace balloon
