#include "app/Camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace

TEST(CameraTest, ProjectionIsTheOpenGlPerspective) {
    InputState input;
    const Camera camera(60.0f, 1.5f, 0.1f, 100.0f, input);
    const glm::mat4 reference = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 100.0f);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(camera.projection[column][row], reference[column][row], 1e-5f)
                << column << ", " << row;
    EXPECT_FLOAT_EQ(camera.projection[2][3], -1.0f);
    EXPECT_FLOAT_EQ(camera.projection[3][3], 0.0f);
}

TEST(CameraTest, StartsOnThePositiveZAxisLookingAtTheOrigin) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(0, 0);
    expectNear(camera.position, {0.0f, 0.0f, 6.0f});
    // The origin lies straight ahead, 6 units down the eye's -z axis.
    expectNear(glm::vec3(camera.view * glm::vec4(0, 0, 0, 1)), {0.0f, 0.0f, -6.0f});
    const glm::vec4 clip = camera.viewProjection() * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(clip.x / clip.w, 0.0f, 1e-6f);
    EXPECT_NEAR(clip.y / clip.w, 0.0f, 1e-6f);
}

TEST(CameraTest, DraggingDownRaisesTheEyeAndStopsShortOfThePole) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(400, 300);
    input.rightMouseDown = true;
    camera.update(400, 400);
    EXPECT_FLOAT_EQ(camera.pitch, 0.5f);
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    expectNear(camera.position, {0.0f, 6.0f * std::sin(0.5f), 6.0f * std::cos(0.5f)});

    camera.update(400, 1400);
    EXPECT_FLOAT_EQ(camera.pitch, cameraMaxPitch);
    camera.update(400, -3000);
    EXPECT_FLOAT_EQ(camera.pitch, -cameraMaxPitch);
    // Near the pole the eye still looks at the origin and up stays up.
    expectNear(glm::vec3(camera.view * glm::vec4(0, 0, 0, 1)), {0.0f, 0.0f, -6.0f});
    EXPECT_GT((camera.view * glm::vec4(0, 1, 0, 0)).y, 0.0f);
}

TEST(CameraTest, DraggingRightTurnsTheEyeTowardsNegativeX) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(0, 0);
    input.rightMouseDown = true;
    camera.update(100, 0);
    EXPECT_FLOAT_EQ(camera.yaw, 0.5f);
    EXPECT_LT(camera.position.x, -2.0f);
    expectNear(glm::vec3(camera.view * glm::vec4(0, 0, 0, 1)), {0.0f, 0.0f, -6.0f});
}

TEST(CameraTest, MovingWithoutTheButtonChangesNothingAndPressingDoesNotJump) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(10, 10);
    camera.update(500, 700);
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    input.rightMouseDown = true;
    camera.update(500, 700);
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    camera.update(502, 704);
    EXPECT_FLOAT_EQ(camera.yaw, 0.01f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.02f);
}

TEST(CameraTest, DistanceFollowsTheInputEveryUpdate) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    input.cameraDistance = 4.5f;
    camera.update(0, 0);
    expectNear(camera.position, {0.0f, 0.0f, 4.5f});
    input.cameraDistance = 0.0f;
    camera.update(0, 0);
    expectNear(camera.position, {0.0f, 0.0f, 0.0f});
}
