#pragma once

#include <glm/glm.hpp>

namespace assetgen {

// A right-handed placement for 2D outlines and solids of revolution: outlines
// live in the (u, v) plane, extrusions and lathe heights run along w. An
// outline that is counter-clockwise in (u, v) faces +w.
struct MeshFrame {
    glm::vec3 origin{0.0f};
    glm::vec3 u{1.0f, 0.0f, 0.0f};
    glm::vec3 v{0.0f, 1.0f, 0.0f};
    glm::vec3 w{0.0f, 0.0f, 1.0f};

    glm::vec3 point(glm::vec2 p, float height) const {
        return origin + p.x * u + p.y * v + height * w;
    }
    glm::vec3 point(float a, float b, float height) const { return point(glm::vec2(a, b), height); }

    // A frame whose w is `facing` and whose v leans towards `up` (which must
    // not be parallel to `facing`).
    static MeshFrame facing(glm::vec3 origin, glm::vec3 facing, glm::vec3 up) {
        MeshFrame frame;
        frame.origin = origin;
        frame.w = glm::normalize(facing);
        frame.u = glm::normalize(glm::cross(up, frame.w));
        frame.v = glm::cross(frame.w, frame.u);
        return frame;
    }
};

} // namespace assetgen
