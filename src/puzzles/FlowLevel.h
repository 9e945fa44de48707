#pragma once

#include <array>

namespace zarn {

// The flow puzzle's one level, read by the game and by the asset generator
// that paints its board. Rows run top to bottom and columns left to right as
// a viewer in front of the board sees them; cell k = 5 * row + column.
inline constexpr int flowBoardCells = 5; // rows, and columns
inline constexpr int flowCellCount = flowBoardCells * flowBoardCells;
inline constexpr int flowColourCount = 5; // values 1..5; 0 is an empty cell
using FlowGrid = std::array<std::array<int, flowBoardCells>, flowBoardCells>;

// Two fixed end cells per colour; every other cell starts empty.
inline constexpr FlowGrid flowStartCells = {{
    {0, 0, 0, 1, 3},
    {0, 0, 2, 3, 0},
    {1, 0, 0, 0, 0},
    {4, 2, 0, 5, 4},
    {0, 0, 0, 0, 5},
}};

// The one accepted layout: every cell filled, each pair joined by a path.
inline constexpr FlowGrid flowSolution = {{
    {1, 1, 1, 1, 3},
    {1, 2, 2, 3, 3},
    {1, 2, 4, 4, 4},
    {4, 2, 4, 5, 4},
    {4, 4, 4, 5, 5},
}};

// Colour of each cell value as r, g, b; 0 (white) is never shown.
inline constexpr std::array<std::array<float, 3>, flowColourCount + 1> flowPalette = {{
    {1.0f, 1.0f, 1.0f},
    {0.84f, 0.33f, 0.33f},
    {0.7f, 0.57f, 0.71f},
    {0.16f, 0.63f, 0.63f},
    {0.08f, 0.32f, 0.53f},
    {0.96f, 0.89f, 0.76f},
}};

// The level is consistent: each colour has exactly two end cells, the
// solution keeps them, and the solution fills every cell with a colour.
constexpr bool flowLevelIsConsistent() {
    std::array<int, flowColourCount + 1> ends{};
    for (int i = 0; i < flowBoardCells; ++i)
        for (int j = 0; j < flowBoardCells; ++j) {
            const int start = flowStartCells[i][j];
            const int goal = flowSolution[i][j];
            if (start < 0 || start > flowColourCount || goal < 1 || goal > flowColourCount)
                return false;
            if (start != 0 && start != goal)
                return false;
            ++ends[start];
        }
    for (int value = 1; value <= flowColourCount; ++value)
        if (ends[value] != 2)
            return false;
    return true;
}
static_assert(flowLevelIsConsistent());

} // namespace zarn
