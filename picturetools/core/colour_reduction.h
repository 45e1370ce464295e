#pragma once
// Colour-depth reduction: bring a picture (or a rectangle of it, columns x0..x1-1, rows
// y0..y1-1) to at most `count` colours, writing the chosen colours back into the 24-bit
// pixels and giving the picture the matching palette.
#include <cstdint>

class CPicture;
class CQnProgress;

// Mapping modes.
constexpr int kMapNearest = 0;
constexpr int kMapDiffuse = 1;

// Chooses `count` colours itself. False when the user cancelled through `progress`.
bool ReduceColours(CPicture& picture, int x0, int y0, int x1, int y1, unsigned count, int mode,
                   CQnProgress* progress);

// Maps the picture onto the caller's palette of `count` B,G,R entries.
void ApplyPalette(CPicture& picture, int x0, int y0, int x1, int y1, unsigned count,
                  const uint8_t* palette, int mode, CQnProgress* progress);
