#pragma once
// The font viewer's character grid: the characters 1 to 255 in cells of one size, as many to a
// line as the area's width holds, line after line; the area scrolls when the grid is taller.
// Each character is drawn on its own, so control characters show their glyphs instead of
// breaking lines.
constexpr int kFirstGridCharacter = 1;
constexpr int kLastGridCharacter = 255;

struct CharacterGrid {
    int columns = 1;
    int rows = 0;
    int cellWidth = 1;
    int cellHeight = 1;

    int ContentHeight() const { return rows * cellHeight; }
};

struct GridCell {
    int x = 0;
    int y = 0;
};

// The grid for an area `areaWidth` wide; cells of at least one pixel, at least one column.
CharacterGrid LayOutCharacters(int areaWidth, int cellWidth, int cellHeight);
// The top-left corner of `character`'s cell (1 to 255) in the unscrolled grid.
GridCell CellOfCharacter(const CharacterGrid& grid, int character);
// A scroll position kept between 0 and the part of the grid that does not fit the view.
int ClampGridScroll(const CharacterGrid& grid, int viewHeight, int position);
