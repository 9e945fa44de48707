#include "puzzles/Animator.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

const glm::vec3 up(0, 1, 0);

glm::mat4 turned(float degrees, const glm::mat4& from = glm::mat4(1.0f)) {
    return glm::rotate(from, glm::radians(degrees), up);
}

glm::mat4 moved(const glm::vec3& to) {
    return glm::translate(glm::mat4(1.0f), to);
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << "column " << c << " row " << r;
}

} // namespace

TEST(AnimatorTest, HalfWayTurnsHalfTheAngleAndMovesHalfTheWay) {
    const glm::mat4 end = turned(90.0f, moved({2, 1, 0}));
    glm::mat4 geometry = moved({0, 1, 0}), model = geometry;
    Animator animator;
    animator.addGeometryAnimation(geometry, end, 2.0f);
    animator.addModelAnimation(model, end, 2.0f);
    animator.update(1.0f);
    const glm::mat4 halfWay = turned(45.0f, moved({1, 1, 0}));
    expectNear(geometry, halfWay);
    expectNear(model, halfWay);
    // A zero frame moves nothing; the rest of the time lands on the end.
    animator.update(0.0f);
    expectNear(geometry, halfWay);
    animator.update(1.0f);
    EXPECT_EQ(geometry, end);
    EXPECT_TRUE(animator.isIdle());
}

// Every tween that finishes in a frame ends in it, wherever it is in the list.
TEST(AnimatorTest, ALongFrameLandsExactlyOnTheEndAndEndsEveryFinishedTween) {
    const glm::mat4 end = turned(30.0f, moved({0.3f, 0, -0.7f}));
    glm::mat4 first(1.0f), second(1.0f), third(1.0f);
    Animator animator;
    animator.addGeometryAnimation(first, end, 0.5f);
    animator.addGeometryAnimation(second, end, 0.25f);
    animator.addGeometryAnimation(third, end, 2.0f);
    animator.update(0.6f);
    EXPECT_EQ(first, end);
    EXPECT_EQ(second, end);
    EXPECT_NE(third, end);
    EXPECT_FALSE(animator.isIdle());
    animator.update(5.0f);
    EXPECT_EQ(third, end);
    EXPECT_TRUE(animator.isIdle());
}

TEST(AnimatorTest, ModelsKeepTheirScaleWhileTheyMoveAndTurn) {
    const glm::mat4 start = glm::scale(moved({-1, 0, 0}), glm::vec3(0.12f));
    const glm::mat4 end = glm::scale(turned(170.0f, moved({1, 0.5f, 0})), glm::vec3(0.12f));
    glm::mat4 model = start;
    Animator animator;
    animator.addModelAnimation(model, end, 1.0f);
    for (int frame = 0; frame < 9; ++frame) {
        animator.update(0.1f);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(glm::length(glm::vec3(model[axis])), 0.12f, 1e-5f);
    }
}

// A move to where the target already is still takes its time: the object
// stays busy and takes no other move meanwhile.
TEST(AnimatorTest, AStandStillTweenKeepsTheAnimatorBusyForItsDuration) {
    const glm::mat4 here = moved({0.5f, 0.5f, 1.6f});
    glm::mat4 tile = here;
    Animator animator;
    animator.addGeometryAnimation(tile, here, 0.3f);
    animator.update(0.2f);
    EXPECT_FALSE(animator.isIdle());
    expectNear(tile, here);
    animator.update(0.1f);
    EXPECT_TRUE(animator.isIdle());
}
