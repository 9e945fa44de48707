#include "physics/PickRay.h"

#include "app/Camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

using namespace zarn;

TEST(PickRayTest, CentreLooksAlongTheViewAndEveryRayIsAUnitRay) {
    InputState input;
    Camera camera(60.0f, 1.25f, 0.1f, 100.0f, input);
    input.rightMouseDown = true;
    camera.update(0, 0);
    camera.update(150, 60); // turned and raised: not along an axis
    const glm::mat4 viewProjection = camera.viewProjection();
    const glm::vec3 forward = glm::normalize(-camera.position);

    const PickRay centre = makePickRay(500, 400, 1000, 800, viewProjection);
    EXPECT_NEAR(glm::distance(centre.direction, forward), 0.0f, 1e-4f);
    EXPECT_NEAR(glm::distance(centre.origin, camera.position + 0.1f * forward), 0.0f, 1e-4f);

    // A cursor right of the centre looks right of the view, one below the
    // centre looks below it; dragged far outside the window still gives a ray.
    const glm::vec3 right = glm::normalize(glm::cross(forward, glm::vec3(0, 1, 0)));
    EXPECT_GT(glm::dot(makePickRay(900, 400, 1000, 800, viewProjection).direction, right), 0.3f);
    const glm::vec3 down = glm::cross(forward, right);
    EXPECT_GT(glm::dot(makePickRay(500, 700, 1000, 800, viewProjection).direction, down), 0.2f);
    for (const auto& [x, y] : {std::pair{-3000, 400}, {500, 9000}, {0, 0}, {1000, 800}}) {
        const PickRay ray = makePickRay(x, y, 1000, 800, viewProjection);
        EXPECT_NEAR(glm::length(ray.direction), 1.0f, 1e-5f) << x << ", " << y;
        EXPECT_TRUE(std::isfinite(ray.origin.x + ray.origin.y + ray.origin.z));
    }
}
