#pragma once

#include <glm/glm.hpp>

namespace zarn {

// Something shown at a matrix that other parts of the game move: tweens
// slide models and geometries, and the physics step moves the geometry that
// shows a body. Kept free of GL so that movers are testable without a window.
class Placeable {
public:
    virtual ~Placeable() = default;

    // The matrix the thing is shown at now.
    virtual glm::mat4 placement() const = 0;
    // Shows the thing at matrix from now on.
    virtual void place(const glm::mat4& matrix) = 0;
};

} // namespace zarn
