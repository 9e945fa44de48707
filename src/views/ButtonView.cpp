#include "views/ButtonView.h"

#include "puzzles/CubeBottom.h"
#include "render/Occlusion.h"

namespace zarn {

ButtonView::ButtonView(const std::shared_ptr<Shader>& shader)
    : button("assets/models/cubeBottom/redButton.obj", shader),
      frame("assets/models/cubeBottom/buttonFrame.obj", shader) {
    frame.setModelMatrix(CubeBottom::buttonFramePose);
}

void ButtonView::draw(const CubeBottom& state, const Sight& sight) {
    button.setModelMatrix(state.buttonPose());
    for (Model* model : {&button, &frame})
        if (!sight.hides(model->bounds()))
            model->draw();
}

} // namespace zarn
