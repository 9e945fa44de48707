#include "MeshBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>

namespace assetgen {

namespace {

glm::vec3 newellNormal(const std::vector<glm::vec3>& ring) {
    glm::vec3 normal(0.0f);
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const glm::vec3 a = ring[i];
        const glm::vec3 b = ring[(i + 1) % ring.size()];
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
    }
    return normal;
}

std::vector<glm::vec3> placeOutline(const MeshFrame& frame, const Outline& outline, float height) {
    std::vector<glm::vec3> ring;
    for (const glm::vec2& p : outline)
        ring.push_back(frame.point(p, height));
    return ring;
}

glm::vec2 pick(const std::vector<glm::vec2>& uvs, std::size_t index) {
    if (uvs.empty())
        return glm::vec2(0.5f);
    return uvs[std::min(index, uvs.size() - 1)];
}

// Corners of a bevelled box: corner signs and the one axis that reaches the
// outer extent there.
glm::vec3 bevelPoint(glm::vec3 low, glm::vec3 high, float bevel, glm::ivec3 signs, int outerAxis) {
    glm::vec3 p;
    for (int axis = 0; axis < 3; ++axis) {
        const float outer = signs[axis] > 0 ? high[axis] : low[axis];
        p[axis] = axis == outerAxis ? outer : outer - float(signs[axis]) * bevel;
    }
    return p;
}

using Direction = std::array<glm::vec3, 3>;

std::vector<Direction> icosahedron() {
    const float t = (1.0f + std::sqrt(5.0f)) * 0.5f;
    const glm::vec3 p[12] = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                             {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                             {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                              {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                              {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                              {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    std::vector<Direction> result;
    for (const auto& face : faces)
        result.push_back(Direction{glm::normalize(p[face[0]]), glm::normalize(p[face[1]]),
                                   glm::normalize(p[face[2]])});
    return result;
}

} // namespace

void MeshBuilder::addCorner(glm::vec3 position, glm::vec3 normal, glm::vec2 uv) {
    vertices_.push_back(Vertex{position, normal, uv});
}

void MeshBuilder::addTriangle(glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec2 uv) {
    // A triangle with two equal corners only appears where a ring shrinks to
    // a point; dropping it leaves the surface closed.
    if (a == b || b == c || c == a)
        return;
    const glm::vec3 cross = glm::cross(b - a, c - a);
    const float length = glm::length(cross);
    const glm::vec3 normal = length > 0.0f ? cross / length : glm::vec3(0.0f, 0.0f, 1.0f);
    addCorner(a, normal, uv);
    addCorner(b, normal, uv);
    addCorner(c, normal, uv);
}

void MeshBuilder::addQuad(glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d, glm::vec2 uv) {
    addTriangle(a, b, c, uv);
    addTriangle(a, c, d, uv);
}

void MeshBuilder::addPolygon(const std::vector<glm::vec3>& ring, glm::vec2 uv) {
    const glm::vec3 newell = newellNormal(ring);
    const float length = glm::length(newell);
    if (ring.size() < 3 || length <= 0.0f)
        return;
    const glm::vec3 normal = newell / length;
    const glm::vec3 helper =
        std::abs(normal.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
    const glm::vec3 axisA = glm::normalize(glm::cross(helper, normal));
    const glm::vec3 axisB = glm::cross(normal, axisA);
    Outline flat;
    for (const glm::vec3& p : ring)
        flat.push_back(glm::vec2(glm::dot(p, axisA), glm::dot(p, axisB)));
    for (const auto& triangle : triangulateOutline(flat)) {
        if (ring[triangle[0]] == ring[triangle[1]] || ring[triangle[1]] == ring[triangle[2]] ||
            ring[triangle[2]] == ring[triangle[0]])
            continue;
        for (int corner : triangle)
            addCorner(ring[corner], normal, uv);
    }
}

void MeshBuilder::addOutline(const MeshFrame& frame, const Outline& outline, float height,
                             bool facingBack, glm::vec2 uv) {
    std::vector<glm::vec3> ring = placeOutline(frame, outline, height);
    if (facingBack)
        std::reverse(ring.begin(), ring.end());
    addPolygon(ring, uv);
}

void MeshBuilder::addBox(glm::vec3 low, glm::vec3 high, glm::vec2 uv) {
    auto p = [&](int x, int y, int z) {
        return glm::vec3(x ? high.x : low.x, y ? high.y : low.y, z ? high.z : low.z);
    };
    addQuad(p(0, 0, 0), p(0, 0, 1), p(0, 1, 1), p(0, 1, 0), uv);
    addQuad(p(1, 0, 0), p(1, 1, 0), p(1, 1, 1), p(1, 0, 1), uv);
    addQuad(p(0, 0, 0), p(1, 0, 0), p(1, 0, 1), p(0, 0, 1), uv);
    addQuad(p(0, 1, 0), p(0, 1, 1), p(1, 1, 1), p(1, 1, 0), uv);
    addQuad(p(0, 0, 0), p(0, 1, 0), p(1, 1, 0), p(1, 0, 0), uv);
    addQuad(p(0, 0, 1), p(1, 0, 1), p(1, 1, 1), p(0, 1, 1), uv);
}

void MeshBuilder::addBevelledBox(glm::vec3 low, glm::vec3 high, float bevel, glm::vec2 faceUv,
                                 glm::vec2 bevelUv) {
    const glm::vec3 centre = 0.5f * (low + high);
    // One face per direction with components in {-1, 0, 1}: six main faces,
    // twelve edge chamfers and eight corner triangles. Each gathers the corner
    // points that lie on its side.
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dz = -1; dz <= 1; ++dz) {
                const glm::ivec3 direction(dx, dy, dz);
                if (direction == glm::ivec3(0))
                    continue;
                std::vector<glm::vec3> points;
                for (int corner = 0; corner < 8; ++corner) {
                    const glm::ivec3 signs((corner & 1) ? 1 : -1, (corner & 2) ? 1 : -1,
                                           (corner & 4) ? 1 : -1);
                    bool matches = true;
                    for (int axis = 0; axis < 3; ++axis)
                        if (direction[axis] != 0 && direction[axis] != signs[axis])
                            matches = false;
                    if (!matches)
                        continue;
                    for (int axis = 0; axis < 3; ++axis)
                        if (direction[axis] != 0)
                            points.push_back(bevelPoint(low, high, bevel, signs, axis));
                }
                // Sort the points around the face centre, counter-clockwise
                // seen along the outward direction.
                const glm::vec3 normal = glm::normalize(glm::vec3(direction));
                glm::vec3 middle(0.0f);
                for (const glm::vec3& p : points)
                    middle += p / float(points.size());
                const glm::vec3 helper = std::abs(normal.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f)
                                                                   : glm::vec3(0.0f, 1.0f, 0.0f);
                const glm::vec3 axisA = glm::normalize(glm::cross(helper, normal));
                const glm::vec3 axisB = glm::cross(normal, axisA);
                std::sort(points.begin(), points.end(), [&](glm::vec3 a, glm::vec3 b) {
                    return std::atan2(glm::dot(a - middle, axisB), glm::dot(a - middle, axisA)) <
                           std::atan2(glm::dot(b - middle, axisB), glm::dot(b - middle, axisA));
                });
                if (glm::dot(newellNormal(points), middle - centre) < 0.0f)
                    std::reverse(points.begin(), points.end());
                const int nonZero = std::abs(dx) + std::abs(dy) + std::abs(dz);
                addPolygon(points, nonZero == 1 ? faceUv : bevelUv);
            }
}

void MeshBuilder::addExtrusion(const MeshFrame& frame, const Outline& outline, float back,
                               float front, glm::vec2 capUv, glm::vec2 sideUv) {
    const Outline ring = outlineArea(outline) < 0.0f ? reversedOutline(outline) : outline;
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const glm::vec2 a = ring[i];
        const glm::vec2 b = ring[(i + 1) % n];
        addQuad(frame.point(a, back), frame.point(b, back), frame.point(b, front),
                frame.point(a, front), sideUv);
    }
    addOutline(frame, ring, front, false, capUv);
    addOutline(frame, ring, back, true, capUv);
}

void MeshBuilder::addBevelledExtrusion(const MeshFrame& frame, const Outline& outline, float back,
                                       float front, float bevel, glm::vec2 frontUv,
                                       glm::vec2 bevelUv, glm::vec2 sideUv) {
    const Outline ring = outlineArea(outline) < 0.0f ? reversedOutline(outline) : outline;
    const Outline inset = offsetOutline(ring, -bevel);
    const float shoulder = front - bevel;
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        addQuad(frame.point(ring[i], back), frame.point(ring[j], back),
                frame.point(ring[j], shoulder), frame.point(ring[i], shoulder), sideUv);
        addQuad(frame.point(ring[i], shoulder), frame.point(ring[j], shoulder),
                frame.point(inset[j], front), frame.point(inset[i], front), bevelUv);
    }
    addOutline(frame, inset, front, false, frontUv);
    addOutline(frame, ring, back, true, sideUv);
}

void MeshBuilder::addLathe(const MeshFrame& frame, const std::vector<glm::vec2>& profile,
                           int segments, const std::vector<glm::vec2>& edgeUvs) {
    if (profile.size() < 2 || segments < 3)
        return;
    std::vector<std::vector<glm::vec3>> rings;
    for (const glm::vec2& p : profile)
        rings.push_back(placeOutline(frame, regularPolygon(segments, p.x, 0.0f), p.y));
    for (std::size_t i = 0; i + 1 < profile.size(); ++i)
        for (int j = 0; j < segments; ++j) {
            const int k = (j + 1) % segments;
            addQuad(rings[i][j], rings[i][k], rings[i + 1][k], rings[i + 1][j], pick(edgeUvs, i));
        }
    if (profile.front().x > 0.0f)
        addOutline(frame, regularPolygon(segments, profile.front().x, 0.0f), profile.front().y,
                   true, pick(edgeUvs, 0));
    if (profile.back().x > 0.0f)
        addOutline(frame, regularPolygon(segments, profile.back().x, 0.0f), profile.back().y, false,
                   pick(edgeUvs, profile.size() - 2));
}

void MeshBuilder::addCylinder(const MeshFrame& frame, float radius, float back, float front,
                              int segments, glm::vec2 capUv, glm::vec2 sideUv) {
    addExtrusion(frame, regularPolygon(segments, radius, 0.0f), back, front, capUv, sideUv);
}

void MeshBuilder::addFrustum(const MeshFrame& frame, float r0, float r1, float w0, float w1,
                             int segments, glm::vec2 sideUv, glm::vec2 capUv) {
    std::vector<glm::vec2> profile = {{0.0f, w0}, {r0, w0}, {r1, w1}};
    if (r1 > 0.0f)
        profile.push_back({0.0f, w1});
    addLathe(frame, profile, segments, {capUv, sideUv, capUv});
}

void MeshBuilder::addLoft(const std::vector<std::vector<glm::vec3>>& rings, bool closedRun,
                          const std::vector<glm::vec2>& edgeUvs, glm::vec2 capUv) {
    if (rings.size() < 2)
        return;
    const std::size_t n = rings.front().size();
    for (const auto& ring : rings)
        if (ring.size() != n)
            return;
    const std::size_t spans = closedRun ? rings.size() : rings.size() - 1;
    for (std::size_t k = 0; k < spans; ++k) {
        const auto& here = rings[k];
        const auto& next = rings[(k + 1) % rings.size()];
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t m = (j + 1) % n;
            addQuad(here[j], here[m], next[m], next[j], pick(edgeUvs, j));
        }
    }
    if (!closedRun) {
        addPolygon(std::vector<glm::vec3>(rings.front().rbegin(), rings.front().rend()), capUv);
        addPolygon(rings.back(), capUv);
    }
}

void MeshBuilder::addBand(const MeshFrame& frame, const Outline& inner, const Outline& outer,
                          const std::vector<glm::vec2>& section,
                          const std::vector<glm::vec2>& sectionUvs) {
    if (inner.size() != outer.size() || inner.size() < 3 || section.size() < 3)
        return;
    // Walking counter-clockwise around w, "ahead" sees the outward direction
    // on its left, so the loft needs the section in reverse order.
    const std::size_t m = section.size();
    std::vector<std::vector<glm::vec3>> rings;
    for (std::size_t k = 0; k < inner.size(); ++k) {
        std::vector<glm::vec3> ring;
        for (std::size_t j = 0; j < m; ++j) {
            const glm::vec2 s = section[m - 1 - j];
            ring.push_back(frame.point(inner[k] + s.x * (outer[k] - inner[k]), s.y));
        }
        rings.push_back(ring);
    }
    std::vector<glm::vec2> uvs;
    for (std::size_t j = 0; j < m; ++j)
        uvs.push_back(pick(sectionUvs, j + 1 < m ? m - 2 - j : m - 1));
    addLoft(rings, true, uvs, glm::vec2(0.5f));
}

void MeshBuilder::addSphere(const std::function<glm::vec3(glm::vec3)>& shape, int subdivisions,
                            glm::vec2 uv) {
    std::vector<Direction> faces = icosahedron();
    for (int level = 0; level < subdivisions; ++level) {
        std::vector<Direction> finer;
        for (const Direction& f : faces) {
            const glm::vec3 ab = glm::normalize(f[0] + f[1]);
            const glm::vec3 bc = glm::normalize(f[1] + f[2]);
            const glm::vec3 ca = glm::normalize(f[2] + f[0]);
            finer.push_back({f[0], ab, ca});
            finer.push_back({ab, f[1], bc});
            finer.push_back({ca, bc, f[2]});
            finer.push_back({ab, bc, ca});
        }
        faces = std::move(finer);
    }
    for (const Direction& f : faces)
        addTriangle(shape(f[0]), shape(f[1]), shape(f[2]), uv);
}

void MeshBuilder::addEllipsoid(glm::vec3 centre, glm::vec3 radii, int subdivisions, glm::vec2 uv) {
    addSphere([&](glm::vec3 direction) { return centre + radii * direction; }, subdivisions, uv);
}

void MeshBuilder::smoothNormals(std::size_t firstTriangle, float creaseDegrees) {
    using Key = std::array<std::int64_t, 3>;
    auto key = [](glm::vec3 p) {
        return Key{std::llround(double(p.x) * 1e5), std::llround(double(p.y) * 1e5),
                   std::llround(double(p.z) * 1e5)};
    };
    const std::size_t first = firstTriangle * 3;
    std::vector<glm::vec3> faceNormals;
    std::map<Key, std::vector<std::size_t>> cornersAt;
    for (std::size_t i = first; i < vertices_.size(); i += 3) {
        faceNormals.push_back(glm::cross(vertices_[i + 1].position - vertices_[i].position,
                                         vertices_[i + 2].position - vertices_[i].position));
        for (std::size_t c = 0; c < 3; ++c)
            cornersAt[key(vertices_[i + c].position)].push_back(i + c);
    }
    const float limit = std::cos(glm::radians(creaseDegrees));
    std::vector<glm::vec3> blended(vertices_.size() - first);
    for (std::size_t i = first; i < vertices_.size(); ++i) {
        const glm::vec3 own = faceNormals[(i - first) / 3];
        const glm::vec3 ownUnit = glm::normalize(own);
        glm::vec3 sum(0.0f);
        for (std::size_t other : cornersAt[key(vertices_[i].position)]) {
            const glm::vec3 normal = faceNormals[(other - first) / 3];
            if (glm::dot(ownUnit, glm::normalize(normal)) >= limit)
                sum += normal;
        }
        blended[i - first] = glm::length(sum) > 0.0f ? glm::normalize(sum) : vertices_[i].normal;
    }
    for (std::size_t i = first; i < vertices_.size(); ++i)
        vertices_[i].normal = blended[i - first];
}

void MeshBuilder::append(const MeshBuilder& other, const glm::mat4& transform) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(transform)));
    const bool mirrored = glm::determinant(glm::mat3(transform)) < 0.0f;
    for (std::size_t i = 0; i < other.vertices_.size(); i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            const Vertex& v = other.vertices_[i + (mirrored && c > 0 ? 3 - c : c)];
            addCorner(glm::vec3(transform * glm::vec4(v.position, 1.0f)),
                      glm::normalize(normalMatrix * v.normal), v.uv);
        }
    }
}

float MeshBuilder::signedVolume() const {
    double volume = 0.0;
    for (std::size_t i = 0; i < vertices_.size(); i += 3)
        volume += double(glm::dot(vertices_[i].position, glm::cross(vertices_[i + 1].position,
                                                                    vertices_[i + 2].position)));
    return float(volume / 6.0);
}

glm::vec3 MeshBuilder::boundsMin() const {
    glm::vec3 low(0.0f);
    for (std::size_t i = 0; i < vertices_.size(); ++i)
        low = i == 0 ? vertices_[i].position : glm::min(low, vertices_[i].position);
    return low;
}

glm::vec3 MeshBuilder::boundsMax() const {
    glm::vec3 high(0.0f);
    for (std::size_t i = 0; i < vertices_.size(); ++i)
        high = i == 0 ? vertices_[i].position : glm::max(high, vertices_[i].position);
    return high;
}

} // namespace assetgen
