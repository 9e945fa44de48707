#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace assetgen {

// A triangle mesh as COLLADA stores it: separate position, normal and UV
// lists indexed per corner, so faceted parts keep one normal per face while
// the skin weights stay attached to the shared positions.
struct SkinMesh {
    struct Influence {
        int joint = 0;
        float weight = 0.0f;
    };
    struct Corner {
        std::uint32_t position = 0;
        std::uint32_t normal = 0;
        std::uint32_t uv = 0;
    };

    std::vector<glm::vec3> positions;
    // One list per position; all lists empty for a mesh without a skin.
    std::vector<std::vector<Influence>> influences;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    // Three corners per triangle, counter-clockwise seen from outside.
    std::vector<Corner> corners;

    std::size_t triangleCount() const { return corners.size() / 3; }
};

} // namespace assetgen
