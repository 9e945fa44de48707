#pragma once

#include "puzzles/Animator.h"
#include "puzzles/TileGrid.h"

#include <glm/glm.hpp>

#include <array>
#include <optional>

namespace zarn {

// The sliding-picture puzzle on the front face: the rules and where each tile
// is shown. Tiles are boxes 1 x 1 x 0.25; a move slides the tile into the
// blank's slot over a quarter of a second. The blank (tile 8) waits sunk
// behind the board until the picture is complete, then rises into the
// bottom-right corner over a second.
class MovingTiles {
public:
    MovingTiles();
    // Tweens hold pointers to the poses.
    MovingTiles(const MovingTiles&) = delete;
    MovingTiles& operator=(const MovingTiles&) = delete;

    // Makes the move the rules allow from (row, column), none while a slide
    // runs, and starts its slides; the completing move also starts the
    // blank's rise.
    std::optional<TileMove> tryMove(int row, int column);
    // Advances the slides.
    void update(float deltaSeconds);

    const TileGrid& grid() const { return rules; }
    bool solved() const { return rules.solved; }
    bool busy() const { return !animator.isIdle(); }
    // Where tile k is shown now.
    const glm::mat4& pose(int tile) const { return poses[std::size_t(tile)]; }

    // Centre of a slot's face, where its click target lies.
    static glm::vec3 slotPosition(TileSlot slot);
    // A tile resting in a slot: turned half a turn about z, which shows its
    // picture upright.
    static glm::mat4 tilePose(TileSlot slot);

    static constexpr float tileThickness = 0.25f;

private:
    TileGrid rules;
    std::array<glm::mat4, tileCount> poses; // by tile number
    Animator animator;
};

} // namespace zarn
