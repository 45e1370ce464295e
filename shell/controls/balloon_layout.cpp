#include "shell/controls/balloon_layout.h"

#include <algorithm>

namespace balloon {
namespace {
int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }
} // namespace

Layout LayoutBalloon(Size text, Margins margins, Point cursor, Size screen, Size shadow)
{
    Layout layout;
    const int bodyWidth =
        std::max(std::max(text.cx, 0) + 2 * margins.horizontal, 2 * kPointerInset + kPointerWidth);
    const int bodyHeight = std::max(std::max(text.cy, 0) + 2 * margins.vertical, kCornerDiameter);
    const int shadowX = std::max(shadow.cx, 0), shadowY = std::max(shadow.cy, 0);
    const int totalHeight = bodyHeight + kPointerHeight + shadowY;
    const int totalWidth = bodyWidth - kPointerInset + shadowX;

    // The cursor may sit on the task bar, outside the full-screen area.
    const Point at{Clamp(cursor.x, 0, std::max(screen.cx - 1, 0)), Clamp(cursor.y, 0, std::max(screen.cy - 1, 0))};

    // Below the cursor when it fits, otherwise above it.
    const int belowTop = at.y + kTipGap;
    layout.pointsUp = belowTop + totalHeight <= screen.cy || at.y - kTipGap - totalHeight < 0;
    // To the right of the cursor when it fits, otherwise to its left.
    const int rightLeft = at.x - kPointerInset;
    layout.pointerOnLeft = at.x + totalWidth <= screen.cx;

    // Screen rectangle of the body and the tip.
    Point tip{at.x, layout.pointsUp ? belowTop : at.y - kTipGap};
    Rect body;
    body.left = layout.pointerOnLeft ? rightLeft : at.x + kPointerInset - bodyWidth;
    body.top = layout.pointsUp ? tip.y + kPointerHeight : tip.y - kPointerHeight - bodyHeight;
    body.right = body.left + bodyWidth;
    body.bottom = body.top + bodyHeight;

    // The body with its shadow moves back inside the screen; the tip stays at the cursor.
    const int dx = std::max(std::min(0, screen.cx - (body.right + shadowX)), -body.left);
    const int dy = std::max(std::min(0, screen.cy - (body.bottom + shadowY)), -body.top);
    body = {body.left + dx, body.top + dy, body.right + dx, body.bottom + dy};
    tip.y = Clamp(tip.y, 0, std::max(screen.cy - 1, 0));
    // The whole balloon: body, pointer and their shadow, cut at the screen's edges.
    const Rect window{std::min(body.left, tip.x), std::min(body.top, tip.y),
                      std::min(std::max(body.right, tip.x + 1) + shadowX, std::max(screen.cx, body.right)),
                      std::min(std::max(body.bottom, tip.y + 1) + shadowY, std::max(screen.cy, body.bottom))};

    // The pointer's base stays on the body's straight edge, between the rounded corners.
    const int baseLow = body.left + kCornerDiameter / 2, baseHigh = body.right - kCornerDiameter / 2 - kPointerWidth;
    const int baseLeft = Clamp(layout.pointerOnLeft ? tip.x : tip.x - kPointerWidth, baseLow,
                               std::max(baseLow, baseHigh));
    const int edge = layout.pointsUp ? body.top : body.bottom - 1;

    auto local = [&](Point p) { return Point{p.x - window.left, p.y - window.top}; };
    layout.window = window;
    layout.body = {body.left - window.left, body.top - window.top, body.right - window.left,
                   body.bottom - window.top};
    layout.pointer[0] = local({baseLeft, edge});
    layout.pointer[1] = local({baseLeft + kPointerWidth, edge});
    layout.pointer[2] = local(tip);
    layout.text = {layout.body.left + margins.horizontal, layout.body.top + margins.vertical,
                   layout.body.right - margins.horizontal, layout.body.bottom - margins.vertical};
    return layout;
}

} // namespace balloon
