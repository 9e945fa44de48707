#include "puzzles/Animator.h"

#include "render/Placeable.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

using namespace zarn;

namespace {

struct Target : Placeable {
    explicit Target(const glm::mat4& m) : matrix(m) {}
    glm::mat4 placement() const override { return matrix; }
    void place(const glm::mat4& m) override {
        matrix = m;
        ++placed;
    }
    glm::mat4 matrix;
    int placed = 0;
};

const glm::vec3 up(0, 1, 0);

glm::mat4 turned(float degrees, const glm::mat4& from = glm::mat4(1.0f)) {
    return glm::rotate(from, glm::radians(degrees), up);
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << "column " << c << " row " << r;
}

} // namespace

TEST(AnimatorTest, HalfWayTurnsHalfTheAngleAndMovesHalfTheWay) {
    const glm::mat4 start = glm::translate(glm::mat4(1.0f), {0, 1, 0});
    const glm::mat4 end = turned(90.0f, glm::translate(glm::mat4(1.0f), {2, 1, 0}));
    Target geometry(start), model(start);
    Animator animator;
    animator.addGeometryAnimation(geometry, end, 2.0f);
    animator.addModelAnimation(model, end, 2.0f);
    animator.update(1.0f);
    const glm::mat4 halfWay = turned(45.0f, glm::translate(glm::mat4(1.0f), {1, 1, 0}));
    expectNear(geometry.matrix, halfWay);
    expectNear(model.matrix, halfWay);

    // A zero frame re-applies the same matrix.
    animator.update(0.0f);
    expectNear(geometry.matrix, halfWay);
    EXPECT_EQ(animator.geometryAnimations.front().elapsed, 1.0f);
    EXPECT_EQ(geometry.placed, 2);
}

TEST(AnimatorTest, ALongFrameLandsExactlyOnTheEndAndEndsEveryFinishedTween) {
    const glm::mat4 end = turned(30.0f, glm::translate(glm::mat4(1.0f), {0.3f, 0, -0.7f}));
    Target first(glm::mat4(1.0f)), second(glm::mat4(1.0f)), third(glm::mat4(1.0f));
    Animator animator;
    animator.addGeometryAnimation(first, end, 0.5f);
    animator.addGeometryAnimation(second, end, 0.25f);
    animator.addGeometryAnimation(third, end, 2.0f);
    animator.update(0.6f);
    EXPECT_EQ(first.matrix, end);
    EXPECT_EQ(second.matrix, end);
    ASSERT_EQ(animator.geometryAnimations.size(), 1u);
    EXPECT_EQ(animator.geometryAnimations.front().target, &third);
    EXPECT_FALSE(animator.isIdle());
    animator.update(5.0f);
    EXPECT_EQ(third.matrix, end);
    EXPECT_TRUE(animator.isIdle());
}

TEST(AnimatorTest, ModelsKeepTheirScaleWhileTheyMoveAndTurn) {
    const glm::mat4 start =
        glm::scale(glm::translate(glm::mat4(1.0f), {-1, 0, 0}), glm::vec3(0.12f));
    const glm::mat4 end =
        glm::scale(turned(170.0f, glm::translate(glm::mat4(1.0f), {1, 0.5f, 0})), glm::vec3(0.12f));
    Target model(start);
    Animator animator;
    animator.addModelAnimation(model, end, 1.0f);
    for (int frame = 0; frame < 9; ++frame) {
        animator.update(0.1f);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(glm::length(glm::vec3(model.matrix[axis])), 0.12f, 1e-5f);
    }
}

// A move to where the target already is still takes its time: the object
// stays busy and takes no other move meanwhile.
TEST(AnimatorTest, AStandStillTweenKeepsTheAnimatorBusyForItsDuration) {
    const glm::mat4 here = glm::translate(glm::mat4(1.0f), {0.5f, 0.5f, 1.6f});
    Target tile(here);
    Animator animator;
    animator.addGeometryAnimation(tile, here, 0.3f);
    animator.update(0.2f);
    EXPECT_FALSE(animator.isIdle());
    expectNear(tile.matrix, here);
    animator.update(0.1f);
    EXPECT_TRUE(animator.isIdle());
}
