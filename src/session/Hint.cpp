#include "session/Hint.h"

#include <cmath>

namespace zarn {

Face faceFacing(const glm::vec3& eye) {
    const glm::vec3 size = glm::abs(eye);
    if (size.y >= size.x && size.y >= size.z)
        return eye.y >= 0.0f ? Face::Maze : Face::Button;
    if (size.x >= size.z)
        return eye.x >= 0.0f ? Face::Flow : Face::River;
    return eye.z >= 0.0f ? Face::Tiles : Face::Panel;
}

} // namespace zarn
