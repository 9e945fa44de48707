#pragma once

#include "puzzles/PanelQueue.h"
#include "render/Model.h"

#include <array>
#include <memory>

namespace zarn {

class PentagonPanel;
class Shader;

// Draws the pentagon panel on the back face: the frame, then the lock and the
// four icons at their poses.
class PanelView {
public:
    explicit PanelView(const std::shared_ptr<Shader>& shader);

    void draw(const PentagonPanel& panel, const Sight& sight);

private:
    Model frame;
    std::array<std::unique_ptr<Model>, PanelQueue::pieceCount + 1> pieces; // by number; [0] unused
};

} // namespace zarn
