#include "puzzles/BallGame.h"

#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

const glm::mat4 startPose = glm::translate(glm::mat4(1.0f), BallMaze::start);

} // namespace

BallGame::BallGame(PhysicsWorld& physics, int ballTag, int cellTag)
    : physics(physics),
      ball(physics.createDynamicSphere(ballTag, BallMaze::ballRadius, startPose)) {
    for (int row = 0; row < BallMaze::side; ++row)
        for (int column = 0; column < BallMaze::side; ++column) {
            const glm::vec3 size =
                BallMaze::colliderSize(BallMaze::map[std::size_t(row)][std::size_t(column)]);
            physics.createStaticBox(cellTag, size.x, size.y, size.z,
                                    BallMaze::cellMatrix(row, column));
        }
}

BallMaze::BallState BallGame::check() {
    if (isSolved)
        return BallMaze::BallState::Rolling;
    const BallMaze::BallState state = BallMaze::ballState(centre());
    if (state == BallMaze::BallState::InGoal)
        isSolved = true;
    else if (state == BallMaze::BallState::Fallen)
        toStart();
    return state;
}

void BallGame::push(BallMaze::Arrow arrow, const glm::vec3& cameraPosition) {
    if (const auto force = BallMaze::push(arrow, cameraPosition))
        physics.addForce(ball, *force);
}

void BallGame::toStart() {
    physics.resetPose(ball, startPose);
}

glm::vec3 BallGame::velocity() const {
    return PhysicsWorld::linearVelocity(ball);
}

glm::mat4 BallGame::pose() const {
    return PhysicsWorld::pose(ball);
}

} // namespace zarn
