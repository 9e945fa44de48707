#pragma once

#include <glm/glm.hpp>

#include <vector>

namespace zarn {

class Placeable;

// One tween: its target moves from start to end over duration seconds.
struct Animation {
    Placeable* target = nullptr; // not owned
    glm::mat4 start{1.0f};
    glm::mat4 end{1.0f};
    float duration = 0.0f;
    float elapsed = 0.0f;
};

// The running tweens of one object. An object whose animator is busy takes
// no new move, so tweens of one target never overlap in the game.
class Animator {
public:
    // A model keeps the end matrix's scale throughout the tween.
    void addModelAnimation(Placeable& model, const glm::mat4& end, float durationSeconds);
    void addGeometryAnimation(Placeable& geometry, const glm::mat4& end, float durationSeconds);

    // Advances every tween, geometries first, and places its target. A tween
    // whose time is up lands exactly on its end and is removed.
    void update(float deltaSeconds);
    bool isIdle() const { return geometryAnimations.empty() && modelAnimations.empty(); }

    std::vector<Animation> geometryAnimations;
    std::vector<Animation> modelAnimations;
};

} // namespace zarn
