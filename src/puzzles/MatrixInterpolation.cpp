#include "puzzles/MatrixInterpolation.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

namespace zarn {

namespace {

struct Parts {
    glm::vec3 translation{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 scale{1.0f};
};

// Translation, rotation and scale of m, or false when a column has no length.
bool takeApart(const glm::mat4& m, Parts& parts) {
    glm::mat3 basis(m);
    for (int axis = 0; axis < 3; ++axis) {
        parts.scale[axis] = glm::length(basis[axis]);
        if (parts.scale[axis] < 1e-6f)
            return false;
    }
    // A mirroring matrix keeps a proper rotation with one negative scale.
    if (glm::determinant(basis) < 0.0f)
        parts.scale.x = -parts.scale.x;
    for (int axis = 0; axis < 3; ++axis)
        basis[axis] /= parts.scale[axis];
    parts.rotation = glm::normalize(glm::quat_cast(basis));
    parts.translation = glm::vec3(m[3]);
    return true;
}

} // namespace

glm::mat4 interpolateTransform(const glm::mat4& start, const glm::mat4& end, float t) {
    Parts from, to;
    if (!takeApart(start, from) || !takeApart(end, to))
        return start + (end - start) * t;
    const glm::mat4 rotation = glm::mat4_cast(glm::slerp(from.rotation, to.rotation, t));
    return glm::scale(
        glm::translate(glm::mat4(1.0f), glm::mix(from.translation, to.translation, t)) * rotation,
        glm::mix(from.scale, to.scale, t));
}

glm::mat4 interpolateKeepingEndScale(const glm::mat4& start, const glm::mat4& end, float t) {
    Parts to;
    if (!takeApart(end, to))
        return interpolateTransform(start, end, t);
    const glm::vec3 unscale = 1.0f / to.scale;
    return glm::scale(interpolateTransform(glm::scale(start, unscale), glm::scale(end, unscale), t),
                      to.scale);
}

} // namespace zarn
