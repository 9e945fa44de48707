#pragma once

#include <glm/glm.hpp>

#include <vector>

namespace assetgen {

// A closed low-poly solid in its own unit frame, before it is placed on a
// figure. Triangles wind counter-clockwise seen from outside.
struct FigureShape {
    std::vector<glm::vec3> positions;
    std::vector<glm::uvec3> triangles;
    std::vector<int> bands;     // per triangle: the profile band it belongs to
    glm::vec3 halfExtent{1.0f}; // half size along each local axis
};

// A solid of revolution about +y. The profile lists (radius, height) from
// bottom to top; an end of zero radius closes in a point, any other end gets
// a flat cap. Band i lies between profile points i and i + 1; the caps
// belong to the first and last band. `turn` rotates the facets about the
// axis, in fractions of one segment.
FigureShape figureLathe(const std::vector<glm::vec2>& profile, int segments, float turn = 0.0f);

// The unit sphere with poles on the y axis.
FigureShape figureSphere(int segments, int rings, float turn = 0.0f);

} // namespace assetgen
