#include "editing/transitions/cell_order.h"

#include <algorithm>
#include <cmath>

namespace editing::transitions {

CellGrid snakeGrid(int columns, int rows) {
    CellGrid grid{columns, rows, std::vector<int>(static_cast<std::size_t>(columns) * rows)};
    int position = 0;
    for (int row = 0; row < rows; ++row) {
        for (int step = 0; step < columns; ++step) {
            const int column = row % 2 == 0 ? step : columns - 1 - step;
            grid.order[static_cast<std::size_t>(row) * columns + column] = position++;
        }
    }
    return grid;
}

CellGrid spiralGrid(int columns, int rows) {
    CellGrid grid{columns, rows, std::vector<int>(static_cast<std::size_t>(columns) * rows)};
    int top = 0;
    int bottom = rows - 1;
    int left = 0;
    int right = columns - 1;
    int position = 0;
    auto place = [&](int row, int column) {
        grid.order[static_cast<std::size_t>(row) * columns + column] = position++;
    };
    while (top <= bottom && left <= right) {
        for (int column = left; column <= right; ++column) {
            place(top, column);
        }
        for (int row = top + 1; row <= bottom; ++row) {
            place(row, right);
        }
        if (top < bottom) {
            for (int column = right - 1; column >= left; --column) {
                place(bottom, column);
            }
        }
        if (left < right) {
            for (int row = bottom - 1; row > top; --row) {
                place(row, left);
            }
        }
        ++top;
        --bottom;
        ++left;
        --right;
    }
    return grid;
}

SquareCells squareCells(int width, int height, int cellsOnLongerSide) {
    SquareCells cells;
    const int longer = std::max({width, height, 1});
    cells.cellSizePixels = static_cast<double>(longer) / cellsOnLongerSide;
    cells.columns = std::max(1, static_cast<int>(std::ceil(width / cells.cellSizePixels - 1e-9)));
    cells.rows = std::max(1, static_cast<int>(std::ceil(height / cells.cellSizePixels - 1e-9)));
    return cells;
}

double cellLevel(const CellGrid& grid, double cellWidthPixels, double cellHeightPixels, int x,
                 int y) {
    const int column = std::min(grid.columns - 1, static_cast<int>(x / cellWidthPixels));
    const int row = std::min(grid.rows - 1, static_cast<int>(y / cellHeightPixels));
    return grid.order[static_cast<std::size_t>(row) * grid.columns + column];
}

}  // namespace editing::transitions
