#pragma once

#include <glm/glm.hpp>

namespace zarn {

// The matrix between start (t = 0) and end (t = 1) of two translate x rotate
// x scale matrices: translation and scale blend linearly, the rotation turns
// about the axis from start to end by t times its angle, along the shorter
// way. Matrices that cannot be taken apart (a zero scale) blend element by
// element.
glm::mat4 interpolateTransform(const glm::mat4& start, const glm::mat4& end, float t);

// As interpolateTransform, with the end's scale taken out of both matrices
// before the blend and put back after it, so that a model keeps its size
// while it moves and turns.
glm::mat4 interpolateKeepingEndScale(const glm::mat4& start, const glm::mat4& end, float t);

} // namespace zarn
