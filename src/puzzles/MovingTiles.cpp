#include "puzzles/MovingTiles.h"

#include "physics/PhysicsWorld.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <string>

namespace zarn {

namespace {

constexpr float tilePlaneDepth = 1.625f;
constexpr float tileThickness = 0.25f;
constexpr float blankSink = 0.5f; // how far the blank hides behind the board
constexpr float slideSeconds = 0.25f;
constexpr float riseSeconds = 1.0f;

glm::vec3 slotPosition(int row, int column) {
    return {float(column) - 1.0f, 1.0f - float(row), tilePlaneDepth};
}

// A tile resting in a slot is turned half a turn about z, which shows its
// texture upright; its local x and y point along world -x and -y.
glm::mat4 tilePose(TileSlot slot) {
    const glm::mat4 at = glm::translate(glm::mat4(1.0f), slotPosition(slot.row, slot.column));
    return glm::rotate(at, glm::pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f));
}

glm::mat4 sunk() {
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -blankSink));
}

} // namespace

MovingTiles::MovingTiles(PhysicsWorld& physics, std::shared_ptr<Shader> shader) : physics(physics) {
    const GeometryData box = createBox(1.0f, 1.0f, tileThickness);
    for (int k = 0; k < tileCount; ++k) {
        const std::string texture =
            "assets/textures/movingTiles/movingTiles_" + std::to_string(k) + ".dds";
        auto material = std::make_shared<Material>(shader, texture.c_str(), 0.5f, 0.7f, 0.1f, 2.0f);
        tiles[k] = std::make_unique<InstancedGeometry>(tilePose(findTile(startArrangement, k)), box,
                                                       std::move(material));

        const int row = k / tileGridSide, column = k % tileGridSide;
        slotColliders[k] =
            physics.createStaticBox(this, 1.0f, 1.0f, tileThickness,
                                    glm::translate(glm::mat4(1.0f), slotPosition(row, column)));
    }
    tiles[blankTile]->applyTransform(sunk());
}

MovingTiles::~MovingTiles() = default;

void MovingTiles::onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection) {
    if (solved)
        return;
    const PhysicsActor* hit = physics.pickActor(rayOrigin, rayDirection);
    if (hit == nullptr)
        return;
    for (int slot = 0; slot < tileCount; ++slot)
        if (slotColliders[slot] == hit) {
            tryMove(slot / tileGridSide, slot % tileGridSide);
            return;
        }
}

bool MovingTiles::tryMove(int row, int column) {
    const std::optional<TileMove> move = grid.tryMove(row, column, animator.isIdle());
    if (!move)
        return false;

    // The tile's world step; the half turn makes its local step the negated
    // world step, and the blank takes the opposite one.
    const glm::vec3 step(float(move->to.column - move->from.column),
                         float(move->from.row - move->to.row), 0.0f);
    InstancedGeometry& tile = *tiles[move->tile];
    InstancedGeometry& blank = *tiles[blankTile];
    animator.addGeometryAnimation(tile, tile.placement() * glm::translate(glm::mat4(1.0f), -step),
                                  slideSeconds);
    animator.addGeometryAnimation(blank, blank.placement() * glm::translate(glm::mat4(1.0f), step),
                                  slideSeconds);

    if (grid.solved) {
        solved = true;
        // The blank jumps, still sunk, to its goal slot and rises from there;
        // this later tween overrides its slide.
        const glm::mat4 goal = tilePose(findTile(goalArrangement, blankTile));
        blank.place(goal);
        blank.applyTransform(sunk());
        animator.addGeometryAnimation(blank, goal, riseSeconds);
    }
    return true;
}

void MovingTiles::update(float deltaSeconds) {
    animator.update(deltaSeconds);
    for (const auto& row : grid.tiles)
        for (const int tile : row)
            // The sunk blank lies inside the cube, but its outer edge reaches
            // past the faces beside the board and would show there: it is
            // drawn only once it rises.
            if (tile != blankTile || solved)
                tiles[tile]->draw();
}

} // namespace zarn
