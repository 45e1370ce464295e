#pragma once
// The colour list's swatches: one 16 x 16 image per colour, the colour filling 1,1 to 15,15
// inside a thin grey frame. White is the image list's transparent colour, so pure white is
// painted as 255 255 254.
#include <windows.h>

#include <commctrl.h>

#include <span>

#include "systools/colours/system_colour_table.h"

// A new image list (the caller destroys it); null when it cannot be made.
HIMAGELIST CreateSwatchImages(std::span<const ColourRef> colours);
