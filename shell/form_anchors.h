#pragma once
// The resize layout of a form as data: per control, which of its edges follow the right and
// bottom edges of the form. A form never lays out below its first size (it is clipped there).
#include <span>

enum AnchorEdges : unsigned {
    AnchorTopLeft = 0,
    FollowRight = 1u << 0,  // moves right with the form's right edge
    FollowBottom = 1u << 1, // moves down with the form's bottom edge
    StretchRight = 1u << 2, // its right edge follows the form's right edge (grows wider)
    StretchDown = 1u << 3,  // its bottom edge follows the form's bottom edge (grows taller)
};

struct ControlAnchor {
    int controlId;
    unsigned edges;
};

struct AnchorRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const AnchorRect&) const = default;
};

// Where a control that stood at `initial` in a form of the first size goes when the form
// has grown by `grownX` and `grownY` (negative growth counts as none).
AnchorRect AnchoredRect(const AnchorRect& initial, unsigned edges, int grownX, int grownY);

// The anchor of `controlId` in `anchors`; controls not listed stay where they are.
unsigned AnchorOf(std::span<const ControlAnchor> anchors, int controlId);
