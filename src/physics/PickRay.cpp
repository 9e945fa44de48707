#include "physics/PickRay.h"

namespace zarn {

PickRay makePickRay(int cursorX, int cursorY, int width, int height,
                    const glm::mat4& viewProjection) {
    // Window rows grow downwards, OpenGL's y upwards.
    const float ndcX = (float(cursorX) / float(width) - 0.5f) * 2.0f;
    const float ndcY = (float(height - cursorY) / float(height) - 0.5f) * 2.0f;
    const glm::mat4 inverse = glm::inverse(viewProjection);
    // The second point lies halfway through the depth range; for a
    // perspective camera both lie on the line from the eye through the cursor.
    glm::vec4 nearPoint = inverse * glm::vec4(ndcX, ndcY, -1.0f, 1.0f);
    glm::vec4 farPoint = inverse * glm::vec4(ndcX, ndcY, 0.0f, 1.0f);
    nearPoint /= nearPoint.w;
    farPoint /= farPoint.w;
    PickRay ray;
    ray.origin = glm::vec3(nearPoint);
    ray.direction = glm::normalize(glm::vec3(farPoint - nearPoint));
    return ray;
}

} // namespace zarn
