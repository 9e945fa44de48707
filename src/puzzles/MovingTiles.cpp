#include "puzzles/MovingTiles.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

constexpr float tilePlaneDepth = 1.625f;
constexpr float blankSink = 0.5f; // how far the blank hides behind the board
constexpr float slideSeconds = 0.25f;
constexpr float riseSeconds = 1.0f;

glm::mat4 sunk() {
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -blankSink));
}

} // namespace

glm::vec3 MovingTiles::slotPosition(TileSlot slot) {
    return {float(slot.column) - 1.0f, 1.0f - float(slot.row), tilePlaneDepth};
}

glm::mat4 MovingTiles::tilePose(TileSlot slot) {
    const glm::mat4 at = glm::translate(glm::mat4(1.0f), slotPosition(slot));
    return glm::rotate(at, glm::pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f));
}

MovingTiles::MovingTiles() {
    for (int tile = 0; tile < tileCount; ++tile)
        poses[std::size_t(tile)] = tilePose(findTile(startArrangement, tile));
    poses[blankTile] = sunk() * poses[blankTile];
}

std::optional<TileMove> MovingTiles::tryMove(int row, int column) {
    const std::optional<TileMove> move = rules.tryMove(row, column, animator.isIdle());
    if (!move)
        return move;

    // The tile's world step; the half turn makes its local step the negated
    // world step, and the blank takes the opposite one.
    const glm::vec3 step(float(move->to.column - move->from.column),
                         float(move->from.row - move->to.row), 0.0f);
    glm::mat4& tile = poses[std::size_t(move->tile)];
    glm::mat4& blank = poses[blankTile];
    animator.addGeometryAnimation(tile, tile * glm::translate(glm::mat4(1.0f), -step),
                                  slideSeconds);
    animator.addGeometryAnimation(blank, blank * glm::translate(glm::mat4(1.0f), step),
                                  slideSeconds);

    if (rules.solved) {
        // The blank jumps, still sunk, to its goal slot and rises from there;
        // this later tween overrides its slide.
        const glm::mat4 goal = tilePose(findTile(goalArrangement, blankTile));
        blank = sunk() * goal;
        animator.addGeometryAnimation(blank, goal, riseSeconds);
    }
    return move;
}

void MovingTiles::update(float deltaSeconds) {
    animator.update(deltaSeconds);
}

} // namespace zarn
