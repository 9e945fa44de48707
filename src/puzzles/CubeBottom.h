#pragma once

#include "puzzles/Animator.h"
#include "puzzles/ButtonSwitch.h"
#include "puzzles/Game.h"
#include "render/Model.h"

#include <glm/glm.hpp>

#include <memory>

namespace zarn {

class PhysicsActor;
class PhysicsWorld;
class Shader;

// The red button under the cube, the last step of the game. A click on it
// plays a short press and release; it counts once the four puzzles are solved.
class CubeBottom : public Game {
public:
    CubeBottom(PhysicsWorld& physics, std::shared_ptr<Shader> shader);

    void onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection);
    // Advances the press and release and draws the button in its frame.
    void update(float deltaSeconds);

    Model button;
    Model frame;
    PhysicsActor* collider = nullptr; // at the button's rest pose, never moves
    Animator animator;
    ButtonSwitch state; // `armed` is written by the frame loop

private:
    void animate();

    PhysicsWorld& physics;
};

// Under the cube: the frame, the button at rest, and the button pressed
// 0.125 up into its frame.
inline const glm::mat4 buttonFramePose{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1.625f, 0, 1};
inline const glm::mat4 buttonRestPose{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1.75f, 0, 1};
inline const glm::mat4 buttonPressedPose{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1.625f, 0, 1};

} // namespace zarn
