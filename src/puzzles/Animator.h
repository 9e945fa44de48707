#pragma once

#include <glm/glm.hpp>

#include <vector>

namespace zarn {

// One tween: its target matrix moves from start to end over duration seconds.
struct Animation {
    glm::mat4* target = nullptr; // not owned
    glm::mat4 start{1.0f};
    glm::mat4 end{1.0f};
    float duration = 0.0f;
    float elapsed = 0.0f;
};

// The running tweens of one object, each moving a pose the object holds.
// An object whose animator is busy takes no new move, so tweens of one
// target never overlap in the game.
class Animator {
public:
    // A model's pose blends with the end matrix's scale taken out and put
    // back; a geometry's blends as it is.
    void addModelAnimation(glm::mat4& pose, const glm::mat4& end, float durationSeconds);
    void addGeometryAnimation(glm::mat4& pose, const glm::mat4& end, float durationSeconds);

    // Advances every tween, geometries first, and sets its pose. A tween
    // whose time is up lands exactly on its end and is removed.
    void update(float deltaSeconds);
    bool isIdle() const { return geometryAnimations.empty() && modelAnimations.empty(); }

private:
    std::vector<Animation> geometryAnimations;
    std::vector<Animation> modelAnimations;
};

} // namespace zarn
