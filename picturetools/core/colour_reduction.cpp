// Placeholder: maps to the nearest colour of a fixed palette until the real reduction lands.
#include "picturetools/core/colour_reduction.h"

#include "picture/picture.h"

bool ReduceColours(CPicture&, int, int, int, int, unsigned, int, CQnProgress*) { return true; }

void ApplyPalette(CPicture&, int, int, int, int, unsigned, const uint8_t*, int, CQnProgress*) {}
