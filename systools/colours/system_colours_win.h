#pragma once
// The running system's display colours for the colour table's rows.
#include <array>
#include <utility>
#include <vector>

#include "systools/colours/system_colour_table.h"

using TableColours = std::array<ColourRef, kSystemColourRows>;

// The current colour of every table row.
TableColours ReadTableColours();
// Sets system colours (index, colour) in one call; the desktop repaints.
bool SetSystemColours(const std::vector<std::pair<int, ColourRef>>& colours);
// Sets every row's colour in one call.
bool SetTableColours(const TableColours& colours);
