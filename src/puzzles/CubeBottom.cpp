#include "puzzles/CubeBottom.h"

namespace zarn {

namespace {

constexpr float pressSeconds = 0.25f;

} // namespace

void CubeBottom::animate() {
    animator.addModelAnimation(pose, button.pressed ? buttonPressedPose : buttonRestPose,
                               pressSeconds);
}

bool CubeBottom::click(bool hitButton, bool armed) {
    button.armed = armed;
    if (!button.click(hitButton, animator.isIdle()))
        return false;
    animate();
    return true;
}

bool CubeBottom::update(float deltaSeconds) {
    animator.update(deltaSeconds);
    if (!button.release(animator.isIdle()))
        return false;
    animate();
    return true;
}

} // namespace zarn
