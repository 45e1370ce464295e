#pragma once
// The size and look of a thumbnail: the cell size, the thumbnail's size in its cell, the
// scaling that makes it, and the cell picture the caller receives.
class CPicture;
class CQnProgress;

constexpr int kDefaultCellWidth = 80;
constexpr int kDefaultCellHeight = 60;

struct ThumbnailSize {
    int width = 0, height = 0;
};

// The thumbnail size of a width x height picture in a cell: factor c = min(cell width / width,
// cell height / height) in single precision, each side times c minus 2 (at least 1).
ThumbnailSize ThumbnailTarget(int width, int height, int cellWidth, int cellHeight);

// Shrinks `picture` to the thumbnail of a picture whose own size is ownWidth x ownHeight (the
// picture may be a reduced decode of it): to the target with ScaleSmoothAlpha when it is at
// most twice the target, else ScaleNearest to twice the target then HalvePicture. A picture
// no larger than the target is kept as it is. False when scaling fails.
bool MakeThumbnail(CPicture& picture, int ownWidth, int ownHeight, int cellWidth, int cellHeight,
                   CQnProgress* progress);

// Where a thumbnail's top left corner goes in its cell.
inline int CellOffset(int cellSide, int thumbSide) { return (cellSide >> 1) - (thumbSide >> 1); }

// Builds the cell picture: 8 x 8 checkerboard (white first, light grey 230), the thumbnail
// centred and blended through its alpha plane (copied when it has none), a black frame.
// False when the cell cannot be allocated.
bool ComposeCell(const CPicture& thumbnail, int cellWidth, int cellHeight, CPicture& cell);
