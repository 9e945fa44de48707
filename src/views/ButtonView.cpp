#include "views/ButtonView.h"

#include "puzzles/CubeBottom.h"

namespace zarn {

ButtonView::ButtonView(const std::shared_ptr<Shader>& shader)
    : button("assets/models/cubeBottom/redButton.obj", shader),
      frame("assets/models/cubeBottom/buttonFrame.obj", shader) {
    frame.setModelMatrix(CubeBottom::buttonFramePose);
}

void ButtonView::draw(const CubeBottom& state) {
    button.setModelMatrix(state.buttonPose());
    button.draw();
    frame.draw();
}

} // namespace zarn
