#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

using namespace zarn;

namespace {

glm::mat4 at(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), {x, y, z});
}

glm::vec3 centre(const PhysicsActor* actor) {
    return glm::vec3(PhysicsWorld::pose(actor)[3]);
}

constexpr float ballRadius = 0.12f;
const float ballMass = 4.0f / 3.0f * 3.14159265f * ballRadius * ballRadius * ballRadius;

class PhysicsWorldTest : public testing::Test {
protected:
    // A floor box of the maze: 0.25 wide, its top at 1.75.
    PhysicsActor* floorAt(float x, float z, float width = 0.25f) {
        return world.createStaticBox(1, width, 0.25f, width, at(x, 1.625f, z));
    }
    PhysicsActor* ballAt(float x, float y, float z) {
        return world.createDynamicSphere(7, ballRadius, at(x, y, z));
    }
    void step(int count) {
        for (int i = 0; i < count; ++i)
            world.stepPhysics();
    }

    PhysicsWorld world;
};

} // namespace

TEST_F(PhysicsWorldTest, RaysFindTheClosestBodyWithinReach) {
    const glm::vec3 origin(0, 0, 0), along(1, 0, 0);
    EXPECT_EQ(world.pickActor(origin, along), nullptr);
    // Near faces at 19.9 and 20.1 units.
    PhysicsActor* reachable = world.createStaticBox(1, 0.2f, 1, 1, at(20.0f, 0, 2));
    world.createStaticBox(2, 0.2f, 1, 1, at(20.2f, 0, -2));
    EXPECT_EQ(world.pickActor({0, 0, 2}, along), reachable);
    EXPECT_EQ(world.pickActor({0, 0, -2}, along), nullptr);

    world.createStaticBox(3, 1, 1, 1, at(6, 0, 0));
    PhysicsActor* near = world.createStaticBox(4, 1, 1, 1, at(3, 0, 0));
    EXPECT_EQ(world.pickActor(origin, along), near);
    // The ball blocks a box behind it like any collider.
    PhysicsActor* sphere = ballAt(1.5f, 0, 0);
    EXPECT_EQ(world.pickActor(origin, along), sphere);
    EXPECT_EQ(PhysicsWorld::tag(sphere), 7);
    EXPECT_EQ(world.bodyCount(), 5);
}

TEST_F(PhysicsWorldTest, StaticBoxesHaveHalfTheirSizesAroundTheirPose) {
    PhysicsActor* tile = world.createStaticBox(5, 1.0f, 0.25f, 1.0f, at(2, 3, 4));
    EXPECT_EQ(PhysicsWorld::tag(tile), 5);
    const glm::vec3 down(0, -1, 0);
    EXPECT_EQ(world.pickActor({2.49f, 5, 4.49f}, down), tile);
    EXPECT_EQ(world.pickActor({2.51f, 5, 4}, down), nullptr);
    EXPECT_EQ(world.pickActor({2, 5, 3.49f}, down), nullptr);
    // From the side: 0.125 above and below the centre.
    EXPECT_EQ(world.pickActor({-5, 3.12f, 4}, {1, 0, 0}), tile);
    EXPECT_EQ(world.pickActor({-5, 3.13f, 4}, {1, 0, 0}), nullptr);

    // Turned by 90 degrees about y, a long thin box lies along z.
    const glm::mat4 turned = glm::rotate(at(0, 0, -3), glm::radians(90.0f), {0, 1, 0});
    PhysicsActor* plank = world.createStaticBox(6, 2.0f, 0.1f, 0.1f, turned);
    EXPECT_EQ(world.pickActor({0, 5, -3.9f}, down), plank);
    EXPECT_EQ(world.pickActor({0.9f, 5, -3}, down), nullptr);
}

// Restitution is 0.6 for the pair (averaged, not 0.36) above 2 units/s.
TEST_F(PhysicsWorldTest, FastImpactsBounceAtSixTenthsAndSlowOnesDoNot) {
    floorAt(0, 0, 2.0f);
    floorAt(1, 1, 0.2f); // keeps the pair's lists apart from the first case
    for (const float speed : {4.0f, 1.0f}) {
        PhysicsActor* sphere = ballAt(speed > 2.0f ? -0.5f : 0.5f, 2.0f, 0.0f);
        world.setVelocity(sphere, {0, -speed, 0}, glm::vec3(0.0f));
        float before = 0.0f, after = 0.0f;
        for (int i = 0; i < 120 && after <= 0.0f; ++i) {
            before = PhysicsWorld::linearVelocity(sphere).y;
            world.stepPhysics();
            after = PhysicsWorld::linearVelocity(sphere).y;
            if (after > -0.01f && before < -0.5f)
                break;
        }
        if (speed > 2.0f)
            EXPECT_NEAR(after / -before, 0.6f, 0.05f) << "at " << speed;
        else
            EXPECT_LT(after, 0.1f) << "a slow ball bounced";
        world.resetPose(sphere, at(5, 5, 5)); // out of the way of the next case
    }
}

TEST_F(PhysicsWorldTest, APushActsForOneStepAndASlowBallNeverFallsAsleep) {
    PhysicsActor* sphere = ballAt(0, 3, 0); // in the air, touching nothing
    const float expected = 0.5f / 60.0f / ballMass;
    world.addForce(sphere, {0.5f, 0, 0});
    step(1);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, expected, expected * 0.01f);
    step(1);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, expected, expected * 0.01f);

    // Five seconds of slow rolling on a floor would put a sleeping body to
    // sleep and stop it dead; the ball rolls on and still takes the push.
    world.createStaticBox(1, 4, 0.25f, 4, at(0, 1.625f, 0));
    world.resetPose(sphere, at(-1, 1.87f, 0));
    step(30);
    world.setVelocity(sphere, {0.05f, 0, 0}, {0, 0, -0.05f / ballRadius});
    step(300);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, 0.05f, 0.005f);
    world.addForce(sphere, {0, 0, 0.5f});
    step(10);
    EXPECT_GT(PhysicsWorld::linearVelocity(sphere).z, 0.1f);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, 0.05f, 0.005f);
}

// Only a level neighbour carries a face on: a ball rolling slowly over the
// end of a row, or over its side, tips over the edge at once instead of
// floating on as if the floor went on.
TEST_F(PhysicsWorldTest, ASlowBallTipsOverARealEdgeAtOnce) {
    for (int i = 0; i < 4; ++i)
        floorAt(0.125f + 0.25f * float(i), 0);
    const float rest = 1.75f + ballRadius;
    for (const glm::vec3& velocity : {glm::vec3(0.3f, 0, 0), glm::vec3(0, 0, 0.3f)}) {
        PhysicsActor* sphere = ballAt(0.625f, rest, 0);
        step(30);
        world.setVelocity(sphere, velocity, glm::cross(glm::vec3(0, 1, 0), velocity) / ballRadius);
        const glm::vec3 direction = glm::normalize(velocity);
        const float edge = glm::dot(direction, glm::vec3(1.0f, 0.0f, 0.125f));
        for (int i = 0; i < 120 && glm::dot(centre(sphere), direction) < edge + 0.08f; ++i)
            world.stepPhysics();
        ASSERT_GE(glm::dot(centre(sphere), direction), edge + 0.08f) << "stuck";
        // Tipping round the edge, the centre has dropped 0.04 by now.
        EXPECT_LT(centre(sphere).y, rest - 0.03f)
            << "rolling along " << direction.x << ", " << direction.z;
        world.resetPose(sphere, at(5, 5, 5));
    }
}

// Friction 0.5 (averaged, not 0.25): a ball sliding without spin loses
// 0.5 g of speed per second until it rolls, at 5/7 of its speed.
TEST_F(PhysicsWorldTest, ASlidingBallSlowsAtHalfOfGravityUntilItRolls) {
    floorAt(0, 0, 4.0f);
    PhysicsActor* sphere = ballAt(-1.5f, 1.75f + ballRadius, 0);
    step(30);
    world.setVelocity(sphere, {2, 0, 0}, glm::vec3(0.0f));
    step(6);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, 2.0f - 0.5f * 5.81f * 0.1f, 0.02f);
    step(54);
    EXPECT_NEAR(PhysicsWorld::linearVelocity(sphere).x, 2.0f * 5.0f / 7.0f, 0.02f);
}

// A spin fades by 5 % a second; a reset leaves the ball at rest where a ray
// finds it at once.
TEST_F(PhysicsWorldTest, SpinFadesAndAResetLeavesTheBallAtRestAtItsNewPlace) {
    PhysicsActor* sphere = ballAt(0, 20, 0);
    world.setVelocity(sphere, glm::vec3(0.0f), {0, 0, 7});
    step(60);
    EXPECT_NEAR(PhysicsWorld::angularVelocity(sphere).z, 7.0f * 0.95f, 0.01f);
    world.setVelocity(sphere, {1, 0, 0}, {0, 0, 7});
    world.addForce(sphere, {0, 0, 1});
    world.resetPose(sphere, at(4, 4, 4));
    EXPECT_EQ(world.pickActor({4, 6, 4}, {0, -1, 0}), sphere);
    EXPECT_EQ(world.pickActor({0, 21, 0}, {0, -1, 0}), nullptr);
    EXPECT_EQ(PhysicsWorld::linearVelocity(sphere), glm::vec3(0.0f));
    EXPECT_EQ(PhysicsWorld::angularVelocity(sphere), glm::vec3(0.0f));
    step(1);
    EXPECT_EQ(PhysicsWorld::linearVelocity(sphere).z, 0.0f) << "the force outlived the reset";
}
