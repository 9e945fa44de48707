#pragma once

#include "puzzles/TileGrid.h"

#include <glm/glm.hpp>

#include <optional>
#include <vector>

namespace zarn {

class FlowBoard;
class RiverCrossing;

// The next good moves of each puzzle, from any state its rules can reach.
// They search the rules' own moves, so they cannot drift from them.

// The clicks of a shortest way from `from` to the finished picture, found by
// a breadth-first search; empty when it is finished already.
std::vector<TileSlot> shortestTileSolution(const TileArrangement& from);

// A click target of the river crossing, as RiverCrossing::play takes it: a
// figure's row (bear, rabbit, carrot) on the start bank (column 0) or the far
// bank (column 2); in column 1 the boat at the start bank (row 0), the arrow
// (row 1) and the boat at the far bank (row 2).
struct RiverClick {
    int row = 0;
    int column = 0;
    bool operator==(const RiverClick&) const = default;
};

// The first click of a shortest way to get all three across without a
// failure; nothing once they are across.
std::optional<RiverClick> nextRiverClick(const RiverCrossing& rules);

// A flow cell to click and the colour it must end up with.
struct FlowCellHint {
    int cell = 0;
    int colour = 0;
    bool operator==(const FlowCellHint&) const = default;
};

// The first cell, row by row, that differs from the solution; nothing once
// the board is solved.
std::optional<FlowCellHint> nextFlowCell(const FlowBoard& board);

// What to do next with the maze's ball: push it one way along the board's
// axes, let it roll on, or take it back to its platform when the goal cannot
// be reached from where it is (the pocket under the raised cell (8, 8)).
struct BallHint {
    enum class Action { Push, LetRoll, ToStart };
    Action action = Action::Push;
    glm::ivec2 direction{0}; // a push's (x, z) step, for Push
    bool operator==(const BallHint&) const = default;
};

// The next push for a ball at `centre` rolling at `velocity` (x, z). The
// route is the one with fewest turns, then fewest cells, over floors,
// ramps along their slope and drops from raised cells. The ball rolls on
// without resistance, so a sideways roll is braked first, and a roll is
// braked before a turn that no wall stops it at.
BallHint nextBallPush(const glm::vec3& centre, const glm::vec2& velocity);

} // namespace zarn
