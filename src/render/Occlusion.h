#pragma once

#include <glm/glm.hpp>

#include <vector>

namespace zarn {

// An axis-aligned box, low corner to high corner. The default box is empty:
// merging anything into it gives that thing.
struct Box {
    glm::vec3 low{1e30f};
    glm::vec3 high{-1e30f};

    bool empty() const { return low.x > high.x; }
    // Grows the box to hold point, or other.
    void add(const glm::vec3& point);
    void add(const Box& other);
};

// The box around points.
Box boundsOf(const std::vector<glm::vec3>& points);
// The box around box moved by matrix.
Box transformed(const Box& box, const glm::mat4& matrix);

// Whether the solid box occluder hides all of target from an eye at eye:
// every line of sight from the eye to a point of target passes through the
// occluder's inside first. The points hidden behind a convex solid form a
// convex set, so the target's eight corners decide for all of it. A line
// that only grazes the occluder's surface hides nothing, nor does anything
// hide an empty target.
bool hiddenBehind(const glm::vec3& eye, const Box& occluder, const Box& target);

// What the eye of one frame cannot see: whatever lies behind the cube's
// solid body. With skip off, nothing counts as hidden.
struct Sight {
    glm::vec3 eye{0.0f};
    bool skip = true;

    bool hides(const Box& target) const;
};

// The cube's solid body, a hair inside its faces at +-1.49 so that nothing
// drawn on a face counts as behind it.
inline constexpr float cubeBodyHalf = 1.48f;

} // namespace zarn
