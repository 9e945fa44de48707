#pragma once

#include "puzzles/Animator.h"
#include "puzzles/Game.h"
#include "puzzles/TileGrid.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

namespace zarn {

class InstancedGeometry;
class PhysicsActor;
class PhysicsWorld;
class Shader;

// The sliding-picture puzzle on the front face of the cube. Each tile is a
// textured box; the blank (tile 8) waits sunk behind the board until the
// picture is complete, then rises into the bottom-right corner. Clicks hit
// one fixed collider per slot and slide the tile there into the blank.
class MovingTiles : public Game {
public:
    // `shader` is the instanced Phong program.
    MovingTiles(PhysicsWorld& physics, std::shared_ptr<Shader> shader);
    ~MovingTiles() override;

    // A click's pick ray: a hit on a slot's collider tries a move from that
    // slot. Ignored once solved.
    void onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection);
    // Makes the move the rules allow from (row, column) and starts its
    // slides; on the completing move also starts the blank's rise. True
    // when a tile moved.
    bool tryMove(int row, int column);
    // Advances the slides, then draws the nine tiles in slot order.
    void update(float deltaSeconds);

    TileGrid grid;
    // Indexed by tile number; they move, the array never changes.
    std::array<std::unique_ptr<InstancedGeometry>, tileCount> tiles;
    // Indexed by slot; fixed.
    std::array<PhysicsActor*, tileCount> slotColliders{};
    Animator animator;
    bool solved = false; // mirrors grid.solved for the frame loop

private:
    PhysicsWorld& physics;
};

} // namespace zarn
