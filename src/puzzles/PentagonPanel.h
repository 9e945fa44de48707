#pragma once

#include "puzzles/Animator.h"
#include "puzzles/PanelQueue.h"

#include <glm/glm.hpp>

#include <array>

namespace zarn {

// The pentagon on the back face: a frame with the lock and one icon per
// puzzle. Each solved item slides its piece half a unit out of the panel,
// over five seconds and one at a time, the most recently requested first.
class PentagonPanel {
public:
    PentagonPanel();
    // Tweens hold pointers to the poses.
    PentagonPanel(const PentagonPanel&) = delete;
    PentagonPanel& operator=(const PentagonPanel&) = delete;

    // Piece 1 is the lock, 2 the sliding tiles, 3 the ball maze, 4 the river
    // crossing, 5 the flow puzzle. Repeated requests change nothing.
    void requestToggle(int pieceNumber) { queue.request(pieceNumber); }
    // Starts the next slide when none runs and advances it. Returns the
    // piece that started sliding, or 0.
    int update(float deltaSeconds);

    const glm::mat4& piecePose(int pieceNumber) const { return poses[std::size_t(pieceNumber)]; }

    static const glm::mat4 framePose;
    static const glm::mat4 restPose;   // every piece, before it slides
    static const glm::mat4 pushedPose; // half a unit further out of the cube

private:
    std::array<glm::mat4, PanelQueue::pieceCount + 1> poses; // by number; [0] unused
    PanelQueue queue;
    Animator animator;
};

// A piece slides out over this many seconds.
inline constexpr float panelSlideSeconds = 5.0f;

} // namespace zarn
