#include "puzzles/PentagonPanel.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

// The panel faces away from the cube along -z: turned half a turn about y,
// so a piece's own +z points outwards.
glm::mat4 facingBack(float z) {
    return glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 0.0f, z}), glm::pi<float>(),
                       glm::vec3(0.0f, 1.0f, 0.0f));
}

} // namespace

const glm::mat4 PentagonPanel::framePose = facingBack(-1.625f);
const glm::mat4 PentagonPanel::restPose = facingBack(-1.25f);
const glm::mat4 PentagonPanel::pushedPose =
    glm::translate(facingBack(-1.25f), glm::vec3(0.0f, 0.0f, 0.5f));

PentagonPanel::PentagonPanel() {
    poses.fill(restPose);
}

int PentagonPanel::update(float deltaSeconds) {
    const int number = queue.next(animator.isIdle());
    if (number != 0)
        animator.addModelAnimation(poses[std::size_t(number)], pushedPose, panelSlideSeconds);
    animator.update(deltaSeconds);
    return number;
}

} // namespace zarn
