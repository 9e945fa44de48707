#include "render/GeometryData.h"

#include "render/RenderFramework.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace zarn;

namespace {

glm::vec3 faceNormal(const std::vector<glm::vec3>& positions, const glm::uvec3& corners) {
    const glm::vec3 a = positions.at(corners[0]), b = positions.at(corners[1]);
    return glm::cross(b - a, positions.at(corners[2]) - a);
}

// Closed and wound counter-clockwise from outside: each directed edge occurs
// once and so does its reverse, and the enclosed volume is positive.
void expectClosedOutwardSurface(const std::vector<glm::vec3>& positions,
                                const std::vector<std::uint32_t>& indices) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    float volume = 0.0f;
    for (std::size_t t = 0; t < indices.size(); t += 3) {
        const glm::uvec3 corners(indices[t], indices[t + 1], indices[t + 2]);
        for (int corner = 0; corner < 3; ++corner)
            ++edges[{corners[corner], corners[(corner + 1) % 3]}];
        volume += glm::dot(positions.at(corners[0]), faceNormal(positions, corners));
    }
    for (const auto& [edge, count] : edges)
        EXPECT_TRUE(count == 1 && edges.count({edge.second, edge.first}) == 1)
            << edge.first << " to " << edge.second;
    EXPECT_GT(volume, 0.0f);
}

} // namespace

TEST(GeometryDataTest, BoxFacesAreFlatOutwardAndWhollyTextured) {
    const GeometryData box = createBox(1.0f, 1.0f, 0.25f);
    ASSERT_EQ(box.indices.size(), 36u);
    ASSERT_TRUE(box.positions.size() == 36 && box.normals.size() == 36 &&
                box.textureCoords.size() == 36);
    const glm::vec3 corner(0.5f, 0.5f, 0.125f);
    for (std::uint32_t face = 0; face < 36; face += 6) {
        // A corner the face's two triangles share has one texture coordinate:
        // the picture is whole, without a seam along the diagonal.
        std::map<std::tuple<float, float, float>, glm::vec2> coordinateOf;
        for (std::uint32_t i = face; i < face + 6; ++i) {
            const glm::vec3 p = box.positions[i], n = box.normals[i];
            EXPECT_EQ(box.indices[i], i);
            EXPECT_EQ(glm::abs(p), corner);
            EXPECT_FLOAT_EQ(glm::dot(p, n), glm::dot(glm::abs(n), corner)); // on its face
            EXPECT_EQ(
                coordinateOf.emplace(std::tuple{p.x, p.y, p.z}, box.textureCoords[i]).first->second,
                box.textureCoords[i]);
        }
        EXPECT_EQ(coordinateOf.size(), 4u);
        for (std::uint32_t t = face; t < face + 6; t += 3)
            EXPECT_GT(glm::dot(faceNormal(box.positions, {t, t + 1, t + 2}), box.normals[t]), 0.0f);
    }
}

TEST(GeometryDataTest, SphereAndBuiltInMeshAreClosedOutwardSurfaces) {
    const GeometryData sphere = createSphere(0.3f);
    ASSERT_EQ(sphere.positions.size(), 994u);
    for (std::size_t i = 0; i < sphere.positions.size(); ++i) {
        EXPECT_NEAR(glm::length(sphere.positions[i]), 0.3f, 1e-5f);
        EXPECT_NEAR(glm::distance(glm::normalize(sphere.normals[i]), sphere.positions[i] / 0.3f),
                    0.0f, 1e-5f);
    }
    expectClosedOutwardSurface(sphere.positions, sphere.indices);
    const BuiltInMeshData mesh = makeBuiltInMesh();
    EXPECT_EQ(mesh.indices.size(), 1728u);
    expectClosedOutwardSurface(mesh.positions, mesh.indices);
}

TEST(GeometryDataTest, SkyCubeFacesItsCentre) {
    const GeometryData cube = skyCubePositions();
    ASSERT_EQ(cube.positions.size(), 36u);
    for (std::uint32_t t = 0; t < 36; t += 3) {
        const glm::vec3 a = cube.positions[t];
        EXPECT_EQ(glm::abs(a), glm::vec3(1.0f));
        // Seen from inside, counter-clockwise: culling keeps the sky.
        EXPECT_LT(glm::dot(faceNormal(cube.positions, {t, t + 1, t + 2}), a), 0.0f) << t / 3;
    }
}
