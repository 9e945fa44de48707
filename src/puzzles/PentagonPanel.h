#pragma once

#include "puzzles/Animator.h"
#include "puzzles/PanelQueue.h"
#include "render/Model.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

namespace zarn {

class Shader;

// One movable piece of the panel and where it rests and ends up.
struct PanelPiece {
    std::unique_ptr<Model> model;
    glm::mat4 restPose{1.0f};
    glm::mat4 pushedPose{1.0f}; // half a unit further out of the cube
};

// The pentagon on the back face: a frame with the lock and one icon per
// puzzle. Each solved item slides its piece out, slowly and one at a time.
class PentagonPanel {
public:
    explicit PentagonPanel(std::shared_ptr<Shader> shader);

    // Piece 1 is the lock, 2 the sliding tiles, 3 the ball maze, 4 the river
    // crossing, 5 the flow puzzle. Repeated requests change nothing.
    void requestToggle(int pieceNumber) { queue.request(pieceNumber); }
    // Starts the next slide when none runs, advances it and draws the panel.
    void update(float deltaSeconds);

    Model frame;
    std::array<PanelPiece, PanelQueue::pieceCount + 1> pieces; // by number; [0] unused
    std::shared_ptr<Shader> shader;
    Animator animator;
    PanelQueue queue;
};

// A piece slides out over this many seconds.
inline constexpr float panelSlideSeconds = 5.0f;

} // namespace zarn
