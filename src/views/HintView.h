#pragma once

#include <memory>

namespace zarn {

class GameSession;
class InstancedGeometry;
class Material;
class Shader;

// Draws the hint on show as part of the scene: a pulsing yellow frame round
// the tile, river target or flow cell to click (the flow cell's frame lined
// with the colour it must reach), or an arrow over the ball pointing the way
// to push it, a frame round it when it should roll on or start again.
class HintView {
public:
    explicit HintView(const std::shared_ptr<Shader>& shader);
    ~HintView();

    void draw(const GameSession& session);

private:
    std::shared_ptr<Material> glow;
    std::shared_ptr<Material> lining;
    std::unique_ptr<InstancedGeometry> marks;
    std::unique_ptr<InstancedGeometry> linings;
};

} // namespace zarn
