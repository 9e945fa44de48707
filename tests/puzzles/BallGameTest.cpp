#include "puzzles/BallGame.h"

#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace zarn;

namespace {

glm::mat4 at(const glm::vec3& centre) {
    return glm::translate(glm::mat4(1.0f), centre);
}

// The maze as a game builds it, with its ball.
class BallGameTest : public testing::Test {
protected:
    glm::vec3 centre() const { return game.centre(); }
    // The ball at pose, moving and spinning.
    void place(const glm::vec3& position, const glm::vec3& velocity = glm::vec3(0.0f),
               const glm::vec3& spin = glm::vec3(0.0f)) {
        physics.resetPose(ball, at(position));
        physics.setVelocity(ball, velocity, spin);
    }
    // Frames of one physics step each, the ball checked before each, as the
    // game does it. Stops early when the check says so.
    BallMaze::BallState play(int frames) {
        for (int i = 0; i < frames; ++i) {
            if (const BallMaze::BallState state = game.check();
                state != BallMaze::BallState::Rolling)
                return state;
            physics.stepPhysics();
        }
        return BallMaze::BallState::Rolling;
    }

    PhysicsWorld physics;
    BallGame game{physics, 1, 2};
    PhysicsActor* ball = physics.pickActor(BallMaze::start + glm::vec3(0, 1, 0), {0, -1, 0});
};

} // namespace

// A ball that kept its spin rolled away from the start again on its own.
TEST_F(BallGameTest, ATrapPutsTheBallBackAtRestAndItStaysOnItsPlatform) {
    ASSERT_EQ(PhysicsWorld::tag(ball), 1);
    place(BallMaze::cellCentre(3, 3) + glm::vec3(0.0f, 0.3f, 0.0f), {0.2f, 0, 0}, {0, 0, 3});
    ASSERT_EQ(play(120), BallMaze::BallState::Fallen) << "the ball did not drop into the pit";
    EXPECT_FALSE(game.solved());
    EXPECT_EQ(game.pose(), at(BallMaze::start));
    EXPECT_EQ(PhysicsWorld::linearVelocity(ball), glm::vec3(0.0f));
    EXPECT_EQ(PhysicsWorld::angularVelocity(ball), glm::vec3(0.0f));
    play(180);
    EXPECT_LT(glm::distance(centre(), BallMaze::start), 0.4f);
}

// The pocket under the raised cell (8, 8) has no way out; the ball's return
// to the start is the way out.
TEST_F(BallGameTest, FromThePocketUnderTheRaisedCellOnlyTheReturnLeadsOut) {
    place(BallMaze::cellCentre(10, 8) + glm::vec3(0.0f, 0.2f, 0.0f));
    const glm::vec3 camera(0.0f, 5.0f, 6.0f);
    for (const auto arrow : {BallMaze::Arrow::Up, BallMaze::Arrow::Left, BallMaze::Arrow::Right,
                             BallMaze::Arrow::Down, BallMaze::Arrow::Up}) {
        for (int push = 0; push < 3; ++push)
            game.push(arrow, camera);
        EXPECT_EQ(play(120), BallMaze::BallState::Rolling);
        const glm::vec3 c = centre();
        EXPECT_TRUE(c.x > 0.0f && c.x < 0.75f && c.z > 0.75f && c.z < 1.5f)
            << "left the pocket to " << c.x << ", " << c.z;
    }
    game.toStart();
    EXPECT_EQ(game.pose(), at(BallMaze::start));
}

TEST_F(BallGameTest, OnlyTheOpenGoalWindowSolvesAndASolvedBallIsLeftAlone) {
    using State = BallMaze::BallState;
    EXPECT_EQ(BallMaze::ballState({1.125f, 1.72f, 1.125f}), State::InGoal);
    EXPECT_EQ(BallMaze::ballState({1.0f, 1.72f, 1.125f}), State::Fallen);
    EXPECT_EQ(BallMaze::ballState({1.25f, 1.72f, 1.125f}), State::Fallen);
    EXPECT_EQ(BallMaze::ballState({1.125f, 1.72f, 1.25f}), State::Fallen);
    EXPECT_EQ(BallMaze::ballState({1.125f, 1.731f, 1.125f}), State::Rolling);
    // Solved, then off the board: no reset.
    place({1.125f, 1.72f, 1.125f});
    EXPECT_EQ(game.check(), State::InGoal);
    ASSERT_TRUE(game.solved());
    place({3.0f, -2.0f, 3.0f});
    EXPECT_EQ(game.check(), State::Rolling);
    EXPECT_TRUE(game.solved());
    EXPECT_EQ(centre(), glm::vec3(3.0f, -2.0f, 3.0f));
}

// A ball on a raised platform, the highest floor, reaches 2 + 2r at its
// top; the walls' colliders rise above that, high over the drawn walls.
TEST_F(BallGameTest, WallCollidersReachAboveABallOnTheHighestFloor) {
    const glm::vec3 westOfRow0(-3.0f, 2.0f + 2.0f * BallMaze::ballRadius,
                               BallMaze::cellCentre(0, 0).z);
    const PhysicsActor* wall = physics.pickActor(westOfRow0, {1.0f, 0.0f, 0.0f});
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(PhysicsWorld::tag(wall), 2);
}

// Up pushes away from the viewer and right to the viewer's right; a camera
// without a horizontal direction (straight above the cube) gives no push,
// where normalising would give a NaN force that disables the ball for good.
TEST_F(BallGameTest, ArrowKeysPushRelativeToTheViewAndNeverWithNaN) {
    using BallMaze::Arrow;
    const glm::vec3 fromRight(6.0f, 1.0f, 0.0f);
    EXPECT_EQ(*BallMaze::push(Arrow::Up, fromRight), glm::vec3(-0.5f, 0.0f, 0.0f));
    EXPECT_EQ(*BallMaze::push(Arrow::Down, fromRight), glm::vec3(0.5f, 0.0f, 0.0f));
    EXPECT_EQ(*BallMaze::push(Arrow::Right, fromRight), glm::vec3(0.0f, 0.0f, -0.5f));
    EXPECT_EQ(*BallMaze::push(Arrow::Left, fromRight), glm::vec3(0.0f, 0.0f, 0.5f));
    // Seen from (3, 4) on the ground plane: away is along -(0.6, 0.8).
    const glm::vec3 slanted(3.0f, 2.0f, 4.0f);
    EXPECT_LT(glm::distance(*BallMaze::push(Arrow::Up, slanted), {-0.3f, 0.0f, -0.4f}), 1e-6f);
    EXPECT_LT(glm::distance(*BallMaze::push(Arrow::Right, slanted), {0.4f, 0.0f, -0.3f}), 1e-6f);
    for (const auto arrow : {Arrow::Right, Arrow::Left, Arrow::Down, Arrow::Up})
        game.push(arrow, glm::vec3(0.0f, 4.0f, 0.0f));
    play(60);
    EXPECT_TRUE(std::isfinite(centre().x + centre().y + centre().z));
}

// Rolled along the floor across many cells, over the seams between their
// boxes, and down the start ramp onto the floor, the ball never hops: once on
// the floor its centre stays at the floor's rest height.
TEST_F(BallGameTest, TheBallRollsOverTheCellSeamsWithoutHops) {
    struct Run {
        int row, column;
        glm::vec3 velocity;
        glm::vec2 until; // x and z
    };
    for (const float speed : {1.0f, 2.0f})
        for (const Run& run :
             {Run{1, 4, {speed, 0.0f, 0.0f}, {1.25f, -1.5f}},     // row 1, eastwards
              Run{4, 1, {0.0f, 0.0f, speed}, {-1.5f, 1.1f}},      // column 1, southwards
              Run{6, 5, {-speed, 0.0f, 0.0f}, {-1.0f, -1.5f}},    // row 6, westwards
              Run{6, 10, {0.0f, 0.0f, -speed}, {-1.5f, -1.125f}}, // column 10, northwards
              Run{1, 1, {0.6f, 0.0f, 0.0f}, {1.25f, -1.5f}}}) {   // down the ramp
            const glm::vec3 cell = BallMaze::cellCentre(run.row, run.column);
            const float top =
                BallMaze::map[std::size_t(run.row)][std::size_t(run.column)] == BallMaze::Raised
                    ? 2.0f
                    : 1.75f;
            // Already rolling, not sliding.
            place({cell.x, top + BallMaze::ballRadius, cell.z}, run.velocity,
                  glm::cross(glm::vec3(0.0f, 1.0f, 0.0f), run.velocity) / BallMaze::ballRadius);
            const float floorHeight = 1.75f + BallMaze::ballRadius;
            bool onFloor = false;
            float highest = 0.0f, lowest = 10.0f;
            int frames = 0;
            for (; frames < 600; ++frames) {
                physics.stepPhysics();
                const glm::vec3 c(PhysicsWorld::pose(ball)[3]);
                if (std::abs(c.x - run.until.x) < 0.125f || std::abs(c.z - run.until.y) < 0.125f)
                    break;
                onFloor = onFloor || std::abs(c.y - floorHeight) < 0.001f;
                if (onFloor) {
                    highest = std::max(highest, c.y);
                    lowest = std::min(lowest, c.y);
                }
            }
            // A bump of 4 mm is half a pixel at the default view. Met as bare
            // box edges, the seams lift a ball at 2 units/s by 6 mm and take
            // 1.5 % of its speed each; merged, under 2 mm and nothing (the
            // foot of the ramp lifts it 3.3 mm). The fading spin takes about
            // 1.5 % of a rolling ball's speed a second.
            const std::string from = std::to_string(run.row) + ", " + std::to_string(run.column) +
                                     " at " + std::to_string(speed);
            EXPECT_LT(frames, 600) << "stuck, from cell " << from;
            EXPECT_LT(highest - floorHeight, 0.004f) << "hop, from cell " << from;
            EXPECT_GT(lowest - floorHeight, -0.004f) << "sank, from cell " << from;
            EXPECT_GT(glm::length(PhysicsWorld::linearVelocity(ball)),
                      0.95f * glm::length(run.velocity))
                << "slowed, from cell " << from;
        }
}
