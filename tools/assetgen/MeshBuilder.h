#pragma once

#include "MeshFrame.h"
#include "MeshOutline.h"

#include <glm/glm.hpp>

#include <cstddef>
#include <functional>
#include <vector>

namespace assetgen {

// Collects a triangle soup for a low-poly model: every triangle has its own
// three corners with a normal and a texture coordinate, so faces stay flat
// unless smoothNormals() blends them. Faces wind counter-clockwise seen from
// outside, and every solid primitive is closed.
class MeshBuilder {
public:
    struct Vertex {
        glm::vec3 position;
        glm::vec3 normal;
        glm::vec2 uv;
    };

    // Three corners per triangle, in winding order.
    const std::vector<Vertex>& vertices() const { return vertices_; }
    std::size_t triangleCount() const { return vertices_.size() / 3; }
    bool empty() const { return vertices_.empty(); }

    void addTriangle(glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec2 uv);
    void addQuad(glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d, glm::vec2 uv);
    // A planar simple polygon, counter-clockwise seen from the side it faces.
    void addPolygon(const std::vector<glm::vec3>& ring, glm::vec2 uv);
    // A planar outline at the given height of a frame, facing +w or -w.
    void addOutline(const MeshFrame& frame, const Outline& outline, float height, bool facingBack,
                    glm::vec2 uv);

    void addBox(glm::vec3 low, glm::vec3 high, glm::vec2 uv);
    // A box with its edges and corners chamfered by `bevel`.
    void addBevelledBox(glm::vec3 low, glm::vec3 high, float bevel, glm::vec2 faceUv,
                        glm::vec2 bevelUv);
    // A counter-clockwise outline pushed out along w from `back` to `front`.
    void addExtrusion(const MeshFrame& frame, const Outline& outline, float back, float front,
                      glm::vec2 capUv, glm::vec2 sideUv);
    // As addExtrusion, with the front edge chamfered by `bevel`.
    void addBevelledExtrusion(const MeshFrame& frame, const Outline& outline, float back,
                              float front, float bevel, glm::vec2 frontUv, glm::vec2 bevelUv,
                              glm::vec2 sideUv);
    // A solid of revolution about w. The profile gives (radius, height) points
    // that outline the solid's half section counter-clockwise, so it climbs
    // along the outside; a first or last point off the axis is closed with a
    // flat disc. edgeUvs colours the profile's edges (the last one repeats).
    void addLathe(const MeshFrame& frame, const std::vector<glm::vec2>& profile, int segments,
                  const std::vector<glm::vec2>& edgeUvs);
    void addCylinder(const MeshFrame& frame, float radius, float back, float front, int segments,
                     glm::vec2 capUv, glm::vec2 sideUv);
    // A cut cone from radius r0 at w0 to r1 at w1 (w0 < w1); r1 = 0 gives a cone.
    void addFrustum(const MeshFrame& frame, float r0, float r1, float w0, float w1, int segments,
                    glm::vec2 sideUv, glm::vec2 capUv);
    // Joins cross-section rings of equal size in order. Each ring must run
    // counter-clockwise seen from ahead (looking back against the direction in
    // which the rings follow each other). An open run is closed with flat caps
    // at both ends, a closed one joins its last ring to its first.
    // edgeUvs colours ring edge j (from point j to j + 1); the last one repeats.
    void addLoft(const std::vector<std::vector<glm::vec3>>& rings, bool closedRun,
                 const std::vector<glm::vec2>& edgeUvs, glm::vec2 capUv);
    // A closed band swept around a path, between an inner and an outer
    // outline of equal size (counter-clockwise in (u, v), point i of one
    // facing point i of the other). The cross-section is given as (s, height)
    // points, counter-clockwise, where s runs from the inner outline (0) to the
    // outer one (1); sectionUvs colours its edges, the closing edge last.
    void addBand(const MeshFrame& frame, const Outline& inner, const Outline& outer,
                 const std::vector<glm::vec2>& section, const std::vector<glm::vec2>& sectionUvs);
    // A subdivided icosahedron whose unit directions are mapped through shape,
    // which must keep the surface star-shaped around its centre.
    void addSphere(const std::function<glm::vec3(glm::vec3)>& shape, int subdivisions,
                   glm::vec2 uv);
    void addEllipsoid(glm::vec3 centre, glm::vec3 radii, int subdivisions, glm::vec2 uv);

    // Blends the normals of the triangles from `firstTriangle` on where
    // neighbouring faces meet at less than creaseDegrees.
    void smoothNormals(std::size_t firstTriangle, float creaseDegrees);
    void append(const MeshBuilder& other, const glm::mat4& transform);

    // Sum of the signed tetrahedron volumes against the origin: the enclosed
    // volume for closed meshes that wind outwards.
    float signedVolume() const;
    glm::vec3 boundsMin() const;
    glm::vec3 boundsMax() const;

private:
    void addCorner(glm::vec3 position, glm::vec3 normal, glm::vec2 uv);

    std::vector<Vertex> vertices_;
};

} // namespace assetgen
