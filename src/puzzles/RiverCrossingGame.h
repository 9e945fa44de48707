#pragma once

#include "puzzles/Animator.h"
#include "puzzles/RiverCrossing.h"

#include <glm/glm.hpp>

#include <array>

namespace zarn {

// The river crossing on the cube's -x face: the rules, where each figure is
// shown and whether it walks. A figure walks (a half-second tween, with its
// walk clip) into and out of the boat; a crossing, and the jump home after a
// failure, place the figures at once.
class RiverCrossingGame {
public:
    // A click target: a box over a figure's spot, the boat or the arrow.
    struct Target {
        glm::vec3 centre;
        glm::vec3 size;
    };

    RiverCrossingGame();
    // Tweens hold pointers to the poses.
    RiverCrossingGame(const RiverCrossingGame&) = delete;
    RiverCrossingGame& operator=(const RiverCrossingGame&) = delete;

    // A click on the target in row (figure) and column (start bank, boat or
    // arrow, far bank) at game time nowSeconds; ignored while a figure walks.
    RiverCrossing::Move play(int row, int column, double nowSeconds);
    // Counts the message down and advances the walks.
    void update(float deltaSeconds);

    const RiverCrossing& rules() const { return game; }
    bool solved() const { return game.solved; }
    bool busy() const { return !animator.isIdle(); }
    const glm::mat4& figurePose(int figure) const { return poses[std::size_t(figure)]; }
    // Whether the figure's walk clip plays, and since when (game seconds).
    bool walking(int figure) const { return walks[std::size_t(figure)].walking; }
    double walkStart(int figure) const { return walks[std::size_t(figure)].start; }

    // The click target in row and column, as play takes them: rows are the
    // figures; column 1 holds the boat at the start bank, the arrow and the
    // boat at the far bank.
    static const Target& target(int row, int column);

private:
    struct Walk {
        double start = 0.0;
        bool walking = false;
    };

    RiverCrossing game;
    std::array<glm::mat4, 3> poses; // bear, rabbit, carrot
    std::array<Walk, 3> walks{};
    Animator animator;
};

} // namespace zarn
