#pragma once
// Changing the size of a picture in place. Every variant carries the alpha plane along and
// keeps the picture's depth, name, description and palette. Progress goes to `progress`
// (the silent sink when null); a cancel there ends the operation with false and leaves the
// picture as it was.
class CPicture;
class CQnProgress;

// Nearest-neighbour resampling (thumbnails, previews).
bool ScaleNearest(CPicture& picture, int width, int height, CQnProgress* progress);

// Averages when shrinking and interpolates linearly when enlarging: a vertical pass to the new
// height, then a horizontal pass to the new width (a pass whose dimension is unchanged is skipped).
bool ScaleSmooth(CPicture& picture, int width, int height, CQnProgress* progress);

// As ScaleSmooth, but an exact halving (width / 2 by height / 2) uses 2 x 2 averaging.
bool ScaleSmoothAlpha(CPicture& picture, int width, int height, CQnProgress* progress);

// 2 x 2 averaging to width / 2 by height / 2; an odd last column or row is dropped.
bool HalvePicture(CPicture& picture);
