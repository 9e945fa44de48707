#pragma once

#include "render/Model.h"

#include <memory>

namespace zarn {

class CubeBottom;
class Shader;

// Draws the red button under the cube, at its pose, in its fixed frame.
class ButtonView {
public:
    explicit ButtonView(const std::shared_ptr<Shader>& shader);

    void draw(const CubeBottom& button, const Sight& sight);

private:
    Model button;
    Model frame;
};

} // namespace zarn
