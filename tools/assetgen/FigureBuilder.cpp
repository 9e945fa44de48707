#include "FigureBuilder.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace assetgen {

namespace {

glm::vec3 faceNormal(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    const glm::vec3 n = glm::cross(b - a, c - a);
    const float length = glm::length(n);
    // Sliver faces are invisible; any unit normal keeps the file valid.
    return length > 1e-12f ? n / length : glm::vec3(0.0f, 1.0f, 0.0f);
}

// Index of `value` in `list`, appending it the first time; exact matches
// only, so identical facets share one entry.
template <typename Vec>
std::uint32_t intern(std::vector<Vec>& list, FigureBuilder::ValueIndex& index, const Vec& value) {
    std::array<float, 3> key{};
    for (int i = 0; i < Vec::length(); ++i) {
        key[static_cast<std::size_t>(i)] = value[i];
    }
    const auto found = index.find(key);
    if (found != index.end()) {
        return found->second;
    }
    const auto id = static_cast<std::uint32_t>(list.size());
    list.push_back(value);
    index.emplace(key, id);
    return id;
}

std::vector<SkinMesh::Influence> influencesAt(const glm::vec3& p,
                                              const FigureBuilder::Binding& binding) {
    if (binding.towards < 0) {
        return {{binding.joint, 1.0f}};
    }
    const glm::vec3 axis = binding.to - binding.from;
    const float w =
        figureSmooth(0.0f, 1.0f, glm::dot(p - binding.from, axis) / glm::dot(axis, axis));
    if (w < 0.02f) {
        return {{binding.joint, 1.0f}};
    }
    if (w > 0.98f) {
        return {{binding.towards, 1.0f}};
    }
    return {{binding.joint, 1.0f - w}, {binding.towards, w}};
}

} // namespace

void FigureBuilder::add(const FigureShape& shape, const glm::mat4& place,
                        const std::vector<int>& colours, const Binding& binding, bool outlined) {
    Part part;
    part.firstPosition = mesh_.positions.size();
    part.positionCount = shape.positions.size();
    part.firstCorner = mesh_.corners.size();
    part.cornerCount = shape.triangles.size() * 3;
    part.outlined = outlined;
    part.halfThickness = 1e9f;
    for (int axis = 0; axis < 3; ++axis) {
        const float length = glm::length(glm::vec3(place[axis]));
        part.halfThickness = std::min(part.halfThickness, length * shape.halfExtent[axis]);
    }
    parts_.push_back(part);

    for (const glm::vec3& local : shape.positions) {
        const glm::vec3 p = glm::vec3(place * glm::vec4(local, 1.0f));
        mesh_.positions.push_back(p);
        mesh_.influences.push_back(influencesAt(p, binding));
    }

    // A mirroring placement turns the faces inside out; swap two corners.
    const bool mirrored = glm::determinant(glm::mat3(place)) < 0.0f;

    const auto base = static_cast<std::uint32_t>(part.firstPosition);
    for (std::size_t t = 0; t < shape.triangles.size(); ++t) {
        glm::uvec3 tri = shape.triangles[t];
        if (mirrored) {
            std::swap(tri.y, tri.z);
        }
        const glm::vec3 n = faceNormal(mesh_.positions[base + tri.x], mesh_.positions[base + tri.y],
                                       mesh_.positions[base + tri.z]);
        const std::size_t band =
            std::min(static_cast<std::size_t>(shape.bands[t]), colours.size() - 1);
        const std::uint32_t normal = intern(mesh_.normals, normalIndex_, n);
        const std::uint32_t uv = intern(mesh_.uvs, uvIndex_, palette_.uv(colours[band]));
        for (int corner = 0; corner < 3; ++corner) {
            mesh_.corners.push_back({base + tri[corner], normal, uv});
        }
    }
}

SkinMesh FigureBuilder::outline(const glm::vec2& uv, float rim, float enlargement) const {
    SkinMesh shell;
    shell.uvs.push_back(uv);
    ValueIndex normalIndex;

    for (const Part& part : parts_) {
        if (!part.outlined) {
            continue;
        }
        // Angle-weighted normals at each position, from the part's own faces.
        std::vector<glm::vec3> smooth(part.positionCount, glm::vec3(0.0f));
        for (std::size_t c = part.firstCorner; c < part.firstCorner + part.cornerCount; c += 3) {
            const std::uint32_t ids[3] = {mesh_.corners[c].position, mesh_.corners[c + 1].position,
                                          mesh_.corners[c + 2].position};
            const glm::vec3 n = mesh_.normals[mesh_.corners[c].normal];
            for (int k = 0; k < 3; ++k) {
                const glm::vec3 p = mesh_.positions[ids[k]];
                const glm::vec3 e1 = glm::normalize(mesh_.positions[ids[(k + 1) % 3]] - p);
                const glm::vec3 e2 = glm::normalize(mesh_.positions[ids[(k + 2) % 3]] - p);
                const float angle = std::acos(std::clamp(glm::dot(e1, e2), -1.0f, 1.0f));
                smooth[ids[k] - part.firstPosition] += angle * n;
            }
        }

        const auto base = static_cast<std::uint32_t>(shell.positions.size());
        for (std::size_t i = 0; i < part.positionCount; ++i) {
            const glm::vec3 p = mesh_.positions[part.firstPosition + i];
            const glm::vec3 n = glm::normalize(smooth[i]);
            const float fromScaling = (enlargement - 1.0f) * glm::dot(p, n);
            const float push = std::max(rim - fromScaling, -0.4f * part.halfThickness);
            shell.positions.push_back(p + push * n);
            shell.influences.emplace_back();
        }
        for (std::size_t c = part.firstCorner; c < part.firstCorner + part.cornerCount; c += 3) {
            std::uint32_t ids[3];
            for (int k = 0; k < 3; ++k) {
                ids[k] = base + mesh_.corners[c + static_cast<std::size_t>(k)].position -
                         static_cast<std::uint32_t>(part.firstPosition);
            }
            const glm::vec3 n = faceNormal(shell.positions[ids[0]], shell.positions[ids[1]],
                                           shell.positions[ids[2]]);
            const std::uint32_t normal = intern(shell.normals, normalIndex, n);
            for (std::uint32_t id : ids) {
                shell.corners.push_back({id, normal, 0});
            }
        }
    }
    return shell;
}

glm::mat4 figurePlace(const glm::vec3& centre, const glm::vec3& radii, const glm::quat& rotation) {
    return glm::translate(glm::mat4(1.0f), centre) * glm::mat4_cast(rotation) *
           glm::scale(glm::mat4(1.0f), radii);
}

glm::vec3 figureSurfacePoint(const glm::vec3& centre, const glm::vec3& radii,
                             const glm::vec3& direction, const glm::quat& rotation) {
    const glm::vec3 d = glm::normalize(direction);
    const glm::vec3 local = glm::inverse(rotation) * d;
    return centre + d / glm::length(local / radii);
}

glm::quat figureAlong(const glm::vec3& direction, const glm::vec3& facing) {
    const glm::vec3 up = glm::normalize(direction);
    const glm::vec3 front = glm::normalize(facing - glm::dot(facing, up) * up);
    return glm::quat_cast(glm::mat3(glm::cross(up, front), up, front));
}

glm::quat figureTurn(float radians, const glm::vec3& axis) {
    return glm::angleAxis(radians, glm::normalize(axis));
}

float figureSmooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

} // namespace assetgen
