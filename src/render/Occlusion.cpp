#include "render/Occlusion.h"

#include <algorithm>

namespace zarn {

namespace {

// Whether the segment from a to b passes through the open box.
bool segmentPassesThrough(const glm::vec3& a, const glm::vec3& b, const Box& box) {
    float enter = 0.0f, leave = 1.0f;
    for (int axis = 0; axis < 3; ++axis) {
        const float d = b[axis] - a[axis];
        if (d == 0.0f) {
            if (a[axis] <= box.low[axis] || a[axis] >= box.high[axis])
                return false;
            continue;
        }
        float t0 = (box.low[axis] - a[axis]) / d, t1 = (box.high[axis] - a[axis]) / d;
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter < leave;
}

glm::vec3 corner(const Box& box, int index) {
    return {(index & 1 ? box.high : box.low).x, (index & 2 ? box.high : box.low).y,
            (index & 4 ? box.high : box.low).z};
}

} // namespace

void Box::add(const glm::vec3& point) {
    low = glm::min(low, point);
    high = glm::max(high, point);
}

void Box::add(const Box& other) {
    if (!other.empty()) {
        add(other.low);
        add(other.high);
    }
}

Box boundsOf(const std::vector<glm::vec3>& points) {
    Box box;
    for (const glm::vec3& point : points)
        box.add(point);
    return box;
}

Box transformed(const Box& box, const glm::mat4& matrix) {
    Box moved;
    if (!box.empty())
        for (int i = 0; i < 8; ++i)
            moved.add(glm::vec3(matrix * glm::vec4(corner(box, i), 1.0f)));
    return moved;
}

bool hiddenBehind(const glm::vec3& eye, const Box& occluder, const Box& target) {
    if (target.empty())
        return false;
    for (int i = 0; i < 8; ++i)
        if (!segmentPassesThrough(eye, corner(target, i), occluder))
            return false;
    return true;
}

bool Sight::hides(const Box& target) const {
    return skip && hiddenBehind(eye, {glm::vec3(-cubeBodyHalf), glm::vec3(cubeBodyHalf)}, target);
}

} // namespace zarn
