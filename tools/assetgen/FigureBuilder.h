#pragma once

#include "FigurePalette.h"
#include "FigureShapes.h"
#include "SkinMesh.h"

#include <glm/gtc/quaternion.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace assetgen {

// Assembles a skinned, flat-shaded figure from solid parts, each coloured
// from the palette and bound to one joint or blended between two, and
// derives the matching outline shell.
class FigureBuilder {
public:
    // How a part follows the skeleton: rigidly with `joint`, or handing over
    // to `towards` along the segment from -> to (smoothly, half way at the
    // middle), for bodies and limbs that bend.
    struct Binding {
        int joint = 0;
        int towards = -1;
        glm::vec3 from{0.0f};
        glm::vec3 to{0.0f};
    };
    static Binding rigid(int joint) { return {joint, -1, {}, {}}; }
    static Binding blend(int joint, int towards, const glm::vec3& from, const glm::vec3& to) {
        return {joint, towards, from, to};
    }

    explicit FigureBuilder(const FigurePalette& palette) : palette_(palette) {}

    // `colours` gives the swatch of each lathe band; a single entry colours
    // the whole part. Parts without an outline are small details that sit on
    // a bigger part (eyes, noses) and would only make the rim lumpy.
    void add(const FigureShape& shape, const glm::mat4& place, const std::vector<int>& colours,
             const Binding& binding, bool outlined = true);

    const SkinMesh& mesh() const { return mesh_; }

    // The outlined parts pushed out along their smoothed normals, unskinned,
    // every face on `uv`. The game draws the shell scaled by `enlargement`
    // about the model origin; the push makes up the difference so the rim is
    // about `rim` thick everywhere instead of growing with the distance from
    // the origin, and never eats more than part of a thin part.
    SkinMesh outline(const glm::vec2& uv, float rim, float enlargement) const;

    // Exact value to list index, so identical normals and UVs are stored once.
    using ValueIndex = std::map<std::array<float, 3>, std::uint32_t>;

private:
    struct Part {
        std::size_t firstPosition = 0;
        std::size_t positionCount = 0;
        std::size_t firstCorner = 0;
        std::size_t cornerCount = 0;
        float halfThickness = 0.0f;
        bool outlined = true;
    };

    const FigurePalette& palette_;
    SkinMesh mesh_;
    std::vector<Part> parts_;
    ValueIndex normalIndex_;
    ValueIndex uvIndex_;
};

// T * R * S: a unit shape scaled to `radii`, turned and moved to `centre`.
glm::mat4 figurePlace(const glm::vec3& centre, const glm::vec3& radii,
                      const glm::quat& rotation = glm::quat(1.0f, 0.0f, 0.0f, 0.0f));

// Where the ray from an ellipsoid's centre along `direction` leaves it.
glm::vec3 figureSurfacePoint(const glm::vec3& centre, const glm::vec3& radii,
                             const glm::vec3& direction,
                             const glm::quat& rotation = glm::quat(1.0f, 0.0f, 0.0f, 0.0f));

// Turns +y onto `direction`, keeping +z as close to `facing` as it can, so
// a flattened part's broad side faces that way.
glm::quat figureAlong(const glm::vec3& direction, const glm::vec3& facing);

// Rotation of `radians` about `axis` (need not be unit length).
glm::quat figureTurn(float radians, const glm::vec3& axis);

// 0 below edge0, 1 above edge1, a smooth S-curve between.
float figureSmooth(float edge0, float edge1, float x);

} // namespace assetgen
