#pragma once

#include "ImageCanvas.h"

#include <array>

namespace assetgen {

// The flow puzzle's board: five colours, each with two fixed end cells, and
// the one layout that solves it. Rows run top to bottom and columns left to
// right as a viewer in front of the board sees them; 0 is an empty cell.
inline constexpr int flowBoardCells = 5;
using FlowGrid = std::array<std::array<int, flowBoardCells>, flowBoardCells>;

inline constexpr FlowGrid flowStartCells = {{
    {0, 0, 0, 1, 3},
    {0, 0, 2, 3, 0},
    {1, 0, 0, 0, 0},
    {4, 2, 0, 5, 4},
    {0, 0, 0, 0, 5},
}};

inline constexpr FlowGrid flowSolution = {{
    {1, 1, 1, 1, 3},
    {1, 2, 2, 3, 3},
    {1, 2, 4, 4, 4},
    {4, 2, 4, 5, 4},
    {4, 4, 4, 5, 5},
}};

// Colour of each value 1..5 as r, g, b (index 0 is unused here).
inline constexpr std::array<std::array<float, 3>, 6> flowPalette = {{
    {1.0f, 1.0f, 1.0f},
    {0.84f, 0.33f, 0.33f},
    {0.7f, 0.57f, 0.71f},
    {0.16f, 0.63f, 0.63f},
    {0.08f, 0.32f, 0.53f},
    {0.96f, 0.89f, 0.76f},
}};

// The board texture of size x size pixels, with only the end dots or, when
// finished, with the solved paths as well. The board box maps it onto the
// cube's +x face with u along +z and v along +y, which a viewer on that side
// sees turned by half a turn; the picture is stored turned accordingly.
ImageCanvas paintFlowBoard(int size, bool finished);

} // namespace assetgen
