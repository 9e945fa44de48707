#pragma once

#include "puzzles/Animator.h"
#include "puzzles/ButtonSwitch.h"

#include <glm/glm.hpp>

namespace zarn {

// The red button under the cube, the last step of the game: its switch and
// where the button is shown. A press pushes it 0.125 up into its frame over
// a quarter of a second; the release brings it back as quickly.
class CubeBottom {
public:
    CubeBottom() = default;
    // Tweens hold a pointer to the pose.
    CubeBottom(const CubeBottom&) = delete;
    CubeBottom& operator=(const CubeBottom&) = delete;

    // A click that hit the button or not, with the four puzzles solved
    // (armed) or not. True when a press starts.
    bool click(bool hitButton, bool armed);
    // Advances the press or release; starts the release once the press ends,
    // and then returns true.
    bool update(float deltaSeconds);

    const ButtonSwitch& state() const { return button; }
    const glm::mat4& buttonPose() const { return pose; }

    // Under the cube: the frame, the button at rest, and the button pressed
    // 0.125 up into its frame.
    static inline const glm::mat4 buttonFramePose{1, 0, 0, 0, 0, 1,       0, 0,
                                                  0, 0, 1, 0, 0, -1.625f, 0, 1};
    static inline const glm::mat4 buttonRestPose{1, 0, 0, 0, 0, 1,      0, 0,
                                                 0, 0, 1, 0, 0, -1.75f, 0, 1};
    static inline const glm::mat4 buttonPressedPose{1, 0, 0, 0, 0, 1,       0, 0,
                                                    0, 0, 1, 0, 0, -1.625f, 0, 1};
    // The click target: a box 1 x 0.25 x 1 at the rest pose, never moved.
    static constexpr glm::vec3 colliderSize{1.0f, 0.25f, 1.0f};

private:
    void animate();

    ButtonSwitch button;
    glm::mat4 pose = buttonRestPose;
    Animator animator;
};

} // namespace zarn
