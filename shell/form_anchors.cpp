#include "shell/form_anchors.h"

#include <algorithm>

AnchorRect AnchoredRect(const AnchorRect& initial, unsigned edges, int grownX, int grownY)
{
    const int dx = std::max(0, grownX), dy = std::max(0, grownY);
    AnchorRect rect = initial;
    if (edges & FollowRight) {
        rect.left += dx;
        rect.right += dx;
    } else if (edges & StretchRight) {
        rect.right += dx;
    }
    if (edges & FollowBottom) {
        rect.top += dy;
        rect.bottom += dy;
    } else if (edges & StretchDown) {
        rect.bottom += dy;
    }
    return rect;
}

unsigned AnchorOf(std::span<const ControlAnchor> anchors, int controlId)
{
    for (const ControlAnchor& anchor : anchors)
        if (anchor.controlId == controlId)
            return anchor.edges;
    return AnchorTopLeft;
}
