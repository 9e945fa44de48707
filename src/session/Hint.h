#pragma once

#include "puzzles/Solvers.h"

#include <glm/glm.hpp>

#include <string>

namespace zarn {

// The cube's six faces, by what they carry: the tiles at +z, the flow board
// at +x, the river at -x, the maze on top, the button underneath and the
// panel at the back.
enum class Face { Tiles, Flow, River, Maze, Button, Panel };

// The face an eye at `eye`, looking at the cube's centre, sees most directly.
Face faceFacing(const glm::vec3& eye);

// A next good move, or what is left to do, for the face it was asked on.
struct Hint {
    // What the scene marks: nothing, a tile slot, a river target or a flow
    // cell (by index), or the way to push the ball.
    enum class Mark { None, TileSlot, RiverTarget, FlowCell, Ball };
    Face face = Face::Tiles;
    Mark mark = Mark::None;
    int index = 0;  // the slot (3 * row + column), river target (the same) or flow cell
    int colour = 0; // the colour the flow cell must reach
    BallHint ball;
    std::string text;     // one line for the player
    double shownAt = 0.0; // on the game clock
};

// How long a hint stays, unless its move is made first.
inline constexpr double hintSeconds = 3.0;

} // namespace zarn
