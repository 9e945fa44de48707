#pragma once

#include "puzzles/BallMaze.h"

#include <glm/glm.hpp>

#include <vector>

namespace zarn {

// Rolls the maze's ball from the start into the goal with arrow-key pushes,
// as a player watching it would: it sees only where the ball is drawn, each
// time it looks (at least a physics step apart), and answers with key
// releases.
//
// The ball rolls without resistance, and one push changes its rolling speed
// by a fixed step, so a ball can only be stopped exactly where a wall stops
// it. The route therefore runs from wall to wall: down the start ramp to the
// row-6 corridor, east to its end, south to the wall of row 9, east over the
// raised platform of row 8 (a ramp up and a ramp down), and south along the
// board's east column, where the goal pit opens to the west. Pushes towards
// the side of the wall or the goal keep the ball off the open edge.
class BallSteering {
public:
    // The arrow keys to release now, seen from cameraPosition, with the ball
    // at `ball` and `seconds` of play since the last look.
    std::vector<BallMaze::Arrow> keys(const glm::vec3& ball, float seconds,
                                      const glm::vec3& cameraPosition);

    int pushes = 0;
    int stage = 0;
    int attempts = 1;

private:
    static constexpr float rollingStep = 0.786f; // rolling speed one push adds

    // A push in world direction (x, z), repeated on the looks after.
    std::vector<BallMaze::Arrow> pushTimes(glm::vec2 direction, int times);

    std::vector<BallMaze::Arrow> push(glm::vec2 direction);

    bool still();

    // Rolling steadily again: the speed has stopped changing.
    bool steady();

    // Pushes back as often as the speed along axis asks when the ball is a
    // few looks short of `at`.
    bool brakeAt(const glm::vec2& here, int axis, float at, bool rather,
                 std::vector<BallMaze::Arrow>& keys);

    std::vector<BallMaze::Arrow> act(const glm::vec2& here);

    glm::vec3 camera{0.0f};
    glm::vec2 lastSeen{0.0f};
    bool seenBefore = false;
    glm::vec2 last{0.0f};
    glm::vec2 recent[3] = {};
    glm::vec2 velocity{0.0f};
    glm::vec2 lastVelocity{0.0f};
    glm::vec2 previous{0.0f};
    glm::vec2 pendingDirection{0.0f};
    bool seen = false;
    int stillFrames = 0;
    int steadyFrames = 0;
    int pending = 0;
    int cooldown = 0;
    float lookSeconds = 1.0f / 60.0f; // between the last two looks
};

} // namespace zarn
