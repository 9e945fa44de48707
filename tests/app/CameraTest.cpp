#include "app/Camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_NEAR(glm::distance(actual, expected), 0.0f, 1e-4f)
        << actual.x << ", " << actual.y << ", " << actual.z;
}

// The origin must lie straight ahead of the eye at the orbit distance.
void expectLooksAtOrigin(const Camera& camera, float distance) {
    expectNear(glm::vec3(camera.view * glm::vec4(0, 0, 0, 1)), {0.0f, 0.0f, -distance});
}

} // namespace

TEST(CameraTest, ProjectionIsTheOpenGlPerspective) {
    InputState input;
    const Camera camera(60.0f, 1.5f, 0.1f, 100.0f, input);
    const glm::mat4 reference = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 100.0f);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(camera.projection[column][row], reference[column][row], 1e-5f);
}

TEST(CameraTest, DraggingTurnsTheEyeAroundTheOriginWithinThePitchLimit) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(400, 300);
    expectNear(camera.position, {0.0f, 0.0f, 6.0f});
    expectLooksAtOrigin(camera, 6.0f);

    input.rightMouseDown = true;
    camera.update(400, 400); // 100 px down raises the eye
    EXPECT_FLOAT_EQ(camera.pitch, 0.5f);
    expectNear(camera.position, {0.0f, 6.0f * std::sin(0.5f), 6.0f * std::cos(0.5f)});
    camera.update(500, 400); // 100 px right turns the eye towards -x
    EXPECT_FLOAT_EQ(camera.yaw, 0.5f);
    EXPECT_LT(camera.position.x, -2.0f);
    expectLooksAtOrigin(camera, 6.0f);

    camera.update(500, 1400);
    EXPECT_FLOAT_EQ(camera.pitch, cameraMaxPitch);
    camera.update(500, -3000);
    EXPECT_FLOAT_EQ(camera.pitch, -cameraMaxPitch);
    expectLooksAtOrigin(camera, 6.0f);
    EXPECT_GT((camera.view * glm::vec4(0, 1, 0, 0)).y, 0.0f); // never upside down
}

// Without the button the cursor turns nothing; a drag starts where the
// button went down; the distance is read at every update.
TEST(CameraTest, OnlyADragTurnsFromWhereItStartedAndTheDistanceIsTakenEachTime) {
    InputState input;
    Camera camera(60.0f, 1.0f, 0.1f, 100.0f, input);
    camera.update(500, 700);
    input.rightMouseDown = true;
    camera.startDrag(520, 700);
    camera.update(522, 704);
    EXPECT_FLOAT_EQ(camera.yaw, 0.01f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.02f);
    input.cameraDistance = 4.5f;
    camera.reset();
    camera.update(522, 704);
    expectNear(camera.position, {0.0f, 0.0f, 4.5f});
}
