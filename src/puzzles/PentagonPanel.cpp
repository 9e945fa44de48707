#include "puzzles/PentagonPanel.h"

#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

// The panel faces away from the cube along -z: turned half a turn about y,
// so a piece's own +z points outwards.
glm::mat4 facingBack(float z) {
    return glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 0.0f, z}), glm::pi<float>(),
                       glm::vec3(0.0f, 1.0f, 0.0f));
}

constexpr const char* pieceFiles[PanelQueue::pieceCount + 1] = {
    "",
    "assets/models/pentagon/lock.obj",
    "assets/models/pentagon/mt.obj",
    "assets/models/pentagon/bg.obj",
    "assets/models/pentagon/rcg.obj",
    "assets/models/pentagon/fp.obj",
};

} // namespace

PentagonPanel::PentagonPanel(std::shared_ptr<Shader> shaderIn)
    : frame("assets/models/pentagon/frame.obj", shaderIn), shader(std::move(shaderIn)) {
    frame.applyTransform(facingBack(-1.625f));
    for (int number = 1; number <= PanelQueue::pieceCount; ++number) {
        PanelPiece& piece = pieces[std::size_t(number)];
        piece.model = std::make_unique<Model>(pieceFiles[number], shader);
        piece.model->applyTransform(facingBack(-1.25f));
        piece.restPose = piece.model->placement();
        piece.pushedPose = glm::translate(piece.restPose, glm::vec3(0.0f, 0.0f, 0.5f));
    }
}

void PentagonPanel::update(float deltaSeconds) {
    if (const int number = queue.next(animator.isIdle()); number != 0) {
        PanelPiece& piece = pieces[std::size_t(number)];
        animator.addModelAnimation(*piece.model, piece.pushedPose, panelSlideSeconds);
    }
    animator.update(deltaSeconds);
    frame.draw();
    for (int number = 1; number <= PanelQueue::pieceCount; ++number)
        pieces[std::size_t(number)].model->draw();
}

} // namespace zarn
