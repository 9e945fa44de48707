#include "views/ButtonView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/CubeBottom.h"
#include "render/Occlusion.h"

namespace zarn {

ButtonView::ButtonView(const std::shared_ptr<Shader>& shader)
    : button(dataPath(data::redButton), shader), frame(dataPath(data::buttonFrame), shader) {
    frame.setModelMatrix(CubeBottom::buttonFramePose);
}

void ButtonView::draw(const CubeBottom& state, const Sight& sight) {
    button.setModelMatrix(state.buttonPose());
    for (Model* model : {&button, &frame})
        if (!sight.hides(model->bounds()))
            model->draw();
}

} // namespace zarn
