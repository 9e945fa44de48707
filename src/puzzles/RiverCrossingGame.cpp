#include "puzzles/RiverCrossingGame.h"

namespace zarn {

namespace {

constexpr float walkSeconds = 0.5f;
constexpr float pickDepth = -1.625f; // x of every click target's centre

// The far bank's targets are 0.6 high, so neighbouring rows leave a gap
// between them and a click near a border never hits two boxes at the same
// distance.
const glm::vec3 startSpot(0.5f, 0.3f, 0.5f);
const glm::vec3 farSpot(0.33f, 0.6f, 0.33f);
const glm::vec3 boatSpot(0.33f, 0.7f, 0.33f);
const glm::vec3 arrowSpot(0.33f, 0.42f, 0.9f);
const RiverCrossingGame::Target targets[3][3] = {{{{pickDepth, 0.67f, -1.0f}, startSpot},
                                                  {{pickDepth, 0.0f, -0.33f}, boatSpot},
                                                  {{pickDepth, 0.67f, 1.0f}, farSpot}},
                                                 {{{pickDepth, 0.0f, -1.0f}, startSpot},
                                                  {{pickDepth, 0.6f, 0.0f}, arrowSpot},
                                                  {{pickDepth, 0.0f, 1.0f}, farSpot}},
                                                 {{{pickDepth, -0.65f, -1.0f}, startSpot},
                                                  {{pickDepth, 0.0f, 0.33f}, boatSpot},
                                                  {{pickDepth, -0.65f, 1.0f}, farSpot}}};

} // namespace

const RiverCrossingGame::Target& RiverCrossingGame::target(int row, int column) {
    return targets[row][column];
}

RiverCrossingGame::RiverCrossingGame() {
    for (int figure = 0; figure < 3; ++figure)
        poses[std::size_t(figure)] = game.placement(figure);
}

RiverCrossing::Move RiverCrossingGame::play(int row, int column, double nowSeconds) {
    const RiverCrossing::Move move = game.play(row, column, !animator.isIdle());
    switch (move) {
    case RiverCrossing::Move::Board:
    case RiverCrossing::Move::Unload: {
        for (Walk& walk : walks)
            walk.walking = false;
        const auto walker = std::size_t(game.passenger);
        animator.addModelAnimation(poses[walker], game.placement(game.passenger), walkSeconds);
        walks[walker] = {nowSeconds, true};
        break;
    }
    case RiverCrossing::Move::Cross:
        // The passenger crossed with the boat, or a failure sent everyone home.
        for (int figure = 0; figure < 3; ++figure)
            poses[std::size_t(figure)] = game.placement(figure);
        break;
    case RiverCrossing::Move::None:
        break;
    }
    return move;
}

void RiverCrossingGame::update(float deltaSeconds) {
    game.update(deltaSeconds);
    // The clip plays through the frame whose time ends the walk.
    if (animator.isIdle() && game.passenger != RiverCrossing::noFigure)
        walks[std::size_t(game.passenger)].walking = false;
    animator.update(deltaSeconds);
}

} // namespace zarn
