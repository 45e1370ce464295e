#include "systools/colours/system_colours_win.h"

#include <windows.h>

TableColours ReadTableColours()
{
    TableColours colours{};
    for (int row = 0; row < kSystemColourRows; ++row)
        colours[row] = GetSysColor(SystemColourTable()[row].index);
    return colours;
}

bool SetSystemColours(const std::vector<std::pair<int, ColourRef>>& colours)
{
    if (colours.empty())
        return true;
    std::vector<INT> indexes;
    std::vector<COLORREF> values;
    for (const auto& [index, colour] : colours) {
        indexes.push_back(index);
        values.push_back(colour & 0xFFFFFF);
    }
    return SetSysColors(static_cast<int>(indexes.size()), indexes.data(), values.data()) != FALSE;
}

bool SetTableColours(const TableColours& colours)
{
    std::vector<std::pair<int, ColourRef>> pairs;
    for (int row = 0; row < kSystemColourRows; ++row)
        pairs.emplace_back(SystemColourTable()[row].index, colours[row]);
    return SetSystemColours(pairs);
}
