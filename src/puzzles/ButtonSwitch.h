#pragma once

namespace zarn {

// The red button's rules. A click on it always presses it in; the end of the
// press releases it. The press counts, and latches `triggered`, only while
// the button is armed: while the four puzzles are all solved.
class ButtonSwitch {
public:
    // A click whose ray hit the button or not, with the button's tweens idle
    // or not. True when a press starts: the caller animates it.
    bool click(bool hitButton, bool tweensIdle);
    // Called after the tweens advanced: true when the finished press turns
    // into the release, which the caller animates.
    bool release(bool tweensIdle);

    bool pressed = false;
    bool armed = false; // written by the frame loop every frame
    bool triggered = false;
};

} // namespace zarn
