#include "puzzles/CubeBottom.h"

#include "physics/PhysicsWorld.h"

namespace zarn {

CubeBottom::CubeBottom(PhysicsWorld& physics, std::shared_ptr<Shader> shader)
    : button("assets/models/cubeBottom/redButton.obj", shader),
      frame("assets/models/cubeBottom/buttonFrame.obj", shader), physics(physics) {
    frame.setModelMatrix(buttonFramePose);
    button.setModelMatrix(buttonRestPose);
    collider = physics.createStaticBox(this, 1.0f, 0.25f, 1.0f, buttonRestPose);
}

void CubeBottom::animate() {
    animator.addModelAnimation(button, state.pressed ? buttonPressedPose : buttonRestPose, 0.25f);
}

void CubeBottom::onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection) {
    if (!animator.isIdle() || state.pressed)
        return;
    const bool hit = physics.pickActor(rayOrigin, rayDirection) == collider;
    if (state.click(hit, animator.isIdle()))
        animate();
}

void CubeBottom::update(float deltaSeconds) {
    animator.update(deltaSeconds);
    if (state.release(animator.isIdle()))
        animate();
    button.draw();
    frame.draw();
}

} // namespace zarn
