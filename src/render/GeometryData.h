#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace zarn {

// Vertex data of a generated shape: parallel position, normal and texture
// coordinate lists and a triangle index list.
struct GeometryData {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> textureCoords;
    std::vector<std::uint32_t> indices;
};

// A box centred at the origin with extents width (x), height (y) and depth
// (z): 36 vertices, two triangles a face, no shared corners, so every face
// keeps its own normal and a full 0..1 texture square.
GeometryData createBox(float width, float height, float depth);

// A sphere centred at the origin: two poles and 31 rings of 32 vertices
// (994 vertices, 5952 indices). Normals are the positions themselves, of
// length radius; the programs normalise them.
GeometryData createSphere(float radius);

// The 36 positions of the sky cube with corners at +-1, positions only.
GeometryData skyCubePositions();

} // namespace zarn
