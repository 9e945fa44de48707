#include "render/GeometryData.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>

using namespace zarn;

namespace {

glm::vec3 faceNormal(const GeometryData& data, std::size_t first) {
    const glm::vec3 a = data.positions.at(data.indices.at(first));
    const glm::vec3 b = data.positions.at(data.indices.at(first + 1));
    const glm::vec3 c = data.positions.at(data.indices.at(first + 2));
    return glm::cross(b - a, c - a);
}

} // namespace

TEST(GeometryDataTest, BoxFacesAreFlatOutwardAndFullyTextured) {
    const GeometryData box = createBox(1.0f, 1.0f, 0.25f);
    ASSERT_EQ(box.positions.size(), 36u);
    ASSERT_EQ(box.normals.size(), 36u);
    ASSERT_EQ(box.textureCoords.size(), 36u);
    ASSERT_EQ(box.indices.size(), 36u);
    for (std::uint32_t i = 0; i < 36; ++i) {
        EXPECT_EQ(box.indices[i], i);
        EXPECT_EQ(std::abs(box.positions[i].z), 0.125f);
        EXPECT_EQ(std::abs(box.positions[i].x), 0.5f);
        // Every corner lies on the face its normal names.
        EXPECT_FLOAT_EQ(glm::dot(box.positions[i], box.normals[i]),
                        glm::dot(glm::abs(box.normals[i]), glm::vec3(0.5f, 0.5f, 0.125f)));
    }
    // Counter-clockwise seen from outside, so back-face culling keeps them.
    for (std::size_t t = 0; t < 36; t += 3)
        EXPECT_GT(glm::dot(faceNormal(box, t), box.normals[t]), 0.0f) << "triangle " << t / 3;
    // Each face's two triangles map every corner they share to one texture
    // coordinate, and the four corners to the texture's four corners: the
    // picture on a face is whole, without a seam along its diagonal.
    for (std::size_t face = 0; face < 36; face += 6) {
        std::map<std::tuple<float, float, float>, glm::vec2> coordinateOf;
        for (std::size_t i = face; i < face + 6; ++i) {
            const glm::vec3 p = box.positions[i];
            const auto [at, added] =
                coordinateOf.emplace(std::tuple{p.x, p.y, p.z}, box.textureCoords[i]);
            EXPECT_EQ(at->second, box.textureCoords[i]) << "face " << face / 6;
        }
        EXPECT_EQ(coordinateOf.size(), 4u) << "face " << face / 6;
    }
}

TEST(GeometryDataTest, SphereIsAClosedOutwardSurfaceAtItsRadius) {
    const GeometryData sphere = createSphere(0.3f);
    ASSERT_EQ(sphere.positions.size(), 994u);
    ASSERT_EQ(sphere.indices.size(), 5952u);
    for (std::size_t i = 0; i < sphere.positions.size(); ++i) {
        EXPECT_NEAR(glm::length(sphere.positions[i]), 0.3f, 1e-5f);
        EXPECT_NEAR(glm::distance(glm::normalize(sphere.normals[i]), sphere.positions[i] / 0.3f),
                    0.0f, 1e-5f);
    }
    // Each directed edge once and its reverse once: no holes, no flipped
    // triangles; and every triangle faces away from the centre.
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    for (std::size_t t = 0; t < sphere.indices.size(); t += 3) {
        for (int corner = 0; corner < 3; ++corner)
            ++edges[{sphere.indices[t + corner], sphere.indices[t + (corner + 1) % 3]}];
        EXPECT_GT(glm::dot(faceNormal(sphere, t), sphere.positions[sphere.indices[t]]), 0.0f);
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
}

TEST(GeometryDataTest, SkyCubeIsPositionsOnlyAndFacesItsCentre) {
    const GeometryData cube = skyCubePositions();
    ASSERT_EQ(cube.positions.size(), 36u);
    EXPECT_TRUE(cube.normals.empty() && cube.textureCoords.empty() && cube.indices.empty());
    for (std::size_t t = 0; t < 36; t += 3) {
        const glm::vec3 a = cube.positions[t], b = cube.positions[t + 1], c = cube.positions[t + 2];
        // Seen from inside, counter-clockwise: culling keeps the sky.
        EXPECT_LT(glm::dot(glm::cross(b - a, c - a), a + b + c), 0.0f) << "triangle " << t / 3;
        EXPECT_EQ(glm::abs(a), glm::vec3(1.0f));
    }
}
