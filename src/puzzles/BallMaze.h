#pragma once

#include <glm/glm.hpp>

#include <array>
#include <optional>
#include <utility>

namespace zarn {

// The marble maze on the top face: 12 x 12 cells of floor, walls, raised
// platforms with ramps and four pits. Row i runs towards +z and column j
// towards +x; cell (i, j) is centred at x = (j - 6) / 4 + 1/8, z = (i - 6) / 4
// + 1/8. The ball starts above cell (1, 1) and must reach the pit in cell
// (10, 10); the other pits, and the board's edge, put it back at the start.
namespace BallMaze {

inline constexpr int side = 12;

// What each cell holds.
enum Cell : int {
    Pit = 0,
    Floor = 1,  // top at 1.75
    Raised = 2, // top at 2.0
    Wall = 3,   // its collider reaches high above the wall, so the ball cannot hop it
    RampUpToMinusZ = 4,
    RampUpToPlusZ = 5,
    RampUpToMinusX = 6,
    RampUpToPlusX = 7,
};

using Map = std::array<std::array<int, side>, side>;

inline constexpr Map map = {{
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
    {3, 2, 6, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {3, 4, 3, 3, 3, 3, 3, 3, 3, 3, 1, 3},
    {3, 1, 3, 0, 1, 1, 7, 2, 6, 1, 1, 1},
    {3, 1, 3, 1, 3, 3, 3, 1, 3, 3, 1, 3},
    {3, 1, 3, 1, 3, 1, 1, 1, 1, 3, 1, 3},
    {1, 1, 1, 1, 1, 1, 3, 3, 0, 3, 1, 3},
    {3, 1, 3, 1, 3, 1, 0, 3, 3, 3, 3, 3},
    {3, 1, 3, 1, 3, 1, 1, 7, 2, 6, 1, 1},
    {3, 1, 3, 5, 3, 3, 3, 3, 1, 3, 3, 1},
    {3, 1, 1, 2, 1, 1, 3, 1, 1, 3, 0, 1},
    {3, 1, 3, 3, 3, 1, 3, 3, 3, 3, 1, 1},
}};

inline constexpr float ballRadius = 0.12f;
inline constexpr glm::vec3 start{-1.125f, 2.5f, -1.125f};
// A ball whose centre drops to this height has fallen into a pit or off the board.
inline constexpr float dropHeight = 1.73f;

glm::vec3 cellCentre(int row, int column);
// The cell's drawn box, its collider box and its placement matrix.
glm::vec3 drawnSize(int cell);
glm::vec3 colliderSize(int cell);
glm::mat4 cellMatrix(int row, int column);

enum class BallState { Rolling, InGoal, Fallen };

// Where the ball's centre is: in the goal pit (open window 1 < x, z < 1.25),
// fallen elsewhere, or still rolling.
BallState ballState(const glm::vec3& centre);

// The arrow keys that roll the ball, as the player sees the board.
enum class Arrow { Right, Left, Down, Up };

// The push of an arrow seen from cameraPosition: up pushes away from the
// viewer, right to the viewer's right, 0.5 units of force. None when the
// camera has no horizontal direction (straight above or below the centre),
// which would give a NaN force.
std::optional<glm::vec3> push(Arrow arrow, const glm::vec3& cameraPosition);

// The arrow whose push, seen from cameraPosition, runs most nearly along
// `direction` (x, z), with the cosine between them; none from straight
// above or below.
std::optional<std::pair<Arrow, float>> arrowAlong(const glm::vec2& direction,
                                                  const glm::vec3& cameraPosition);

} // namespace BallMaze

} // namespace zarn
