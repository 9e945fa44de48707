#pragma once

#include "puzzles/FlowLevel.h"

#include <glm/glm.hpp>

#include <array>

namespace zarn {

// The flow puzzle's rules: 25 cells holding a colour value each (0 empty,
// 1..5 a colour), of which the ten end cells are fixed. A click cycles an
// editable cell through empty, 1, ..., 5 and back to empty; the puzzle is
// solved once every cell equals the level's solution, and then no click
// changes anything.
class FlowBoard {
public:
    FlowBoard();

    // A click on cell k = 5 * row + column. True when the cell changed: it is
    // editable, k is on the board and the puzzle is not solved yet.
    bool click(int k);
    // Whether every cell holds its value from the solution.
    bool matchesSolution() const;
    // Whether a path of cells of the colour, side by side, joins its two ends.
    bool joined(int colour) const;

    std::array<int, flowCellCount> cells{};
    std::array<bool, flowCellCount> editable{};
    bool solved = false;
};

// World-space centre of cell k's click target, just in front of the board on
// the cube's +x face: rows run down in y, columns towards -z.
glm::vec3 flowCellCentre(int k);
inline constexpr glm::vec3 flowCellTargetSize{0.1f, 0.5f, 0.5f};

} // namespace zarn
