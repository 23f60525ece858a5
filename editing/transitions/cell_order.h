#pragma once

#include <vector>

namespace editing::transitions {

// A grid of cells laid over the frame; cells switch to B one after another in `order`.
struct CellGrid {
    int columns = 1;
    int rows = 1;
    // order[row * columns + column] is the cell's position in the switching sequence.
    std::vector<int> order;
};

// Rows in turn from the top, the first left to right, the next right to left, and so on.
CellGrid snakeGrid(int columns, int rows);

// Clockwise from the top-left corner inward: top row, right column, bottom row, left column,
// then the same around the remaining inner rectangle.
CellGrid spiralGrid(int columns, int rows);

// Square cells, `cellsOnLongerSide` along the frame's longer side and as many as cover the
// shorter side (the last row or column may be cut by the frame's edge).
struct SquareCells {
    int columns = 1;
    int rows = 1;
    double cellSizePixels = 1;
};
SquareCells squareCells(int width, int height, int cellsOnLongerSide);

// The level of luma pixel (x, y) of a frame covered by `grid` with cells of the given size
// in pixels: the cell's position in the sequence.
double cellLevel(const CellGrid& grid, double cellWidthPixels, double cellHeightPixels, int x,
                 int y);

}  // namespace editing::transitions
