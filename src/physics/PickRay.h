#pragma once

#include <glm/glm.hpp>

namespace zarn {

// A click turned into a ray: from the cursor's point on the near plane,
// along a unit direction into the scene.
struct PickRay {
    glm::vec3 origin{0.0f};
    glm::vec3 direction{0.0f, 0.0f, -1.0f};
};

// The ray under the cursor (window pixels, origin at the top-left, y down,
// already truncated) for a window of width x height and the camera's
// projection x view.
PickRay makePickRay(int cursorX, int cursorY, int width, int height,
                    const glm::mat4& viewProjection);

} // namespace zarn
