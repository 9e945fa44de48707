#include "render/GeometryData.h"

#include <array>
#include <cmath>

namespace zarn {

GeometryData createBox(float width, float height, float depth) {
    const float x = width / 2, y = height / 2, z = depth / 2;
    struct Face {
        glm::vec3 normal;
        std::array<glm::vec3, 6> corners;
    };
    const std::array<Face, 6> faces = {{
        {{0, 0, 1}, {{{-x, -y, z}, {x, -y, z}, {x, y, z}, {x, y, z}, {-x, y, z}, {-x, -y, z}}}},
        {{0, 0, -1},
         {{{-x, y, -z}, {x, y, -z}, {x, -y, -z}, {x, -y, -z}, {-x, -y, -z}, {-x, y, -z}}}},
        {{1, 0, 0}, {{{x, -y, z}, {x, -y, -z}, {x, y, -z}, {x, y, -z}, {x, y, z}, {x, -y, z}}}},
        {{-1, 0, 0},
         {{{-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, z}, {-x, y, -z}, {-x, -y, -z}}}},
        {{0, 1, 0}, {{{-x, y, z}, {x, y, z}, {x, y, -z}, {x, y, -z}, {-x, y, -z}, {-x, y, z}}}},
        {{0, -1, 0},
         {{{-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {x, -y, z}, {-x, -y, z}, {-x, -y, -z}}}},
    }};
    const std::array<glm::vec2, 6> coords = {{{1, 0}, {0, 0}, {0, 1}, {0, 1}, {1, 1}, {1, 0}}};

    GeometryData box;
    for (const Face& face : faces)
        for (std::size_t corner = 0; corner < 6; ++corner) {
            box.indices.push_back(std::uint32_t(box.positions.size()));
            box.positions.push_back(face.corners[corner]);
            box.normals.push_back(face.normal);
            box.textureCoords.push_back(coords[corner]);
        }
    return box;
}

GeometryData createSphere(float radius) {
    constexpr int segments = 32;
    constexpr int steps = 32;
    constexpr float pi = 3.14159265358979f;
    GeometryData sphere;
    const auto add = [&](const glm::vec3& position, const glm::vec3& normal, const glm::vec2& uv) {
        sphere.positions.push_back(position);
        sphere.normals.push_back(normal);
        sphere.textureCoords.push_back(uv);
    };
    add({0, radius, 0}, {0, 1, 0}, {1, 0});
    add({0, -radius, 0}, {0, -1, 0}, {0, 0});
    for (int j = 1; j < steps; ++j) {
        const float phi = float(j) * pi / float(steps);
        for (int k = 0; k < segments; ++k) {
            const float theta = 2.0f * float(k) * pi / float(segments);
            const glm::vec3 position(radius * std::sin(phi) * std::cos(theta),
                                     radius * std::cos(phi),
                                     radius * std::sin(phi) * std::sin(theta));
            add(position, position, {float(k) / segments, float(j) / steps});
        }
    }

    // Vertex k of ring j; rings 1 and 31 border the north and south poles.
    const auto ring = [](int j, int k) {
        return std::uint32_t(2 + segments * (j - 1) + k % segments);
    };
    for (int k = 0; k < segments; ++k) {
        sphere.indices.insert(sphere.indices.end(), {0, ring(1, k + 1), ring(1, k)});
        sphere.indices.insert(sphere.indices.end(),
                              {ring(steps - 1, k), ring(steps - 1, k + 1), 1});
    }
    for (int j = 2; j < steps; ++j)
        for (int k = 0; k < segments; ++k) {
            const int next = k + 1;
            sphere.indices.insert(sphere.indices.end(),
                                  {ring(j, k), ring(j - 1, next), ring(j, next), ring(j - 1, next),
                                   ring(j, k), ring(j - 1, k)});
        }
    return sphere;
}

GeometryData skyCubePositions() {
    GeometryData cube;
    cube.positions = {
        {-1, 1, -1},  {-1, -1, -1}, {1, -1, -1}, {1, -1, -1}, {1, 1, -1},  {-1, 1, -1},
        {-1, -1, 1},  {-1, -1, -1}, {-1, 1, -1}, {-1, 1, -1}, {-1, 1, 1},  {-1, -1, 1},
        {1, -1, -1},  {1, -1, 1},   {1, 1, 1},   {1, 1, 1},   {1, 1, -1},  {1, -1, -1},
        {-1, -1, 1},  {-1, 1, 1},   {1, 1, 1},   {1, 1, 1},   {1, -1, 1},  {-1, -1, 1},
        {-1, 1, -1},  {1, 1, -1},   {1, 1, 1},   {1, 1, 1},   {-1, 1, 1},  {-1, 1, -1},
        {-1, -1, -1}, {-1, -1, 1},  {1, -1, -1}, {1, -1, -1}, {-1, -1, 1}, {1, -1, 1},
    };
    return cube;
}

} // namespace zarn
