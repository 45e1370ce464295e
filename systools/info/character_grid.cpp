#include "systools/info/character_grid.h"

#include <algorithm>

CharacterGrid LayOutCharacters(int areaWidth, int cellWidth, int cellHeight)
{
    CharacterGrid grid;
    grid.cellWidth = std::max(1, cellWidth);
    grid.cellHeight = std::max(1, cellHeight);
    grid.columns = std::max(1, areaWidth / grid.cellWidth);
    const int count = kLastGridCharacter - kFirstGridCharacter + 1;
    grid.rows = (count + grid.columns - 1) / grid.columns;
    return grid;
}

GridCell CellOfCharacter(const CharacterGrid& grid, int character)
{
    const int index = std::clamp(character, kFirstGridCharacter, kLastGridCharacter) - kFirstGridCharacter;
    return {(index % grid.columns) * grid.cellWidth, (index / grid.columns) * grid.cellHeight};
}

int ClampGridScroll(const CharacterGrid& grid, int viewHeight, int position)
{
    return std::clamp(position, 0, std::max(0, grid.ContentHeight() - std::max(0, viewHeight)));
}
