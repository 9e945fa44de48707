#include "puzzles/ButtonSwitch.h"

namespace zarn {

bool ButtonSwitch::click(bool hitButton, bool tweensIdle) {
    // While pressing the button is pressed; while releasing its tweens run.
    if (!tweensIdle || pressed || !hitButton)
        return false;
    if (armed)
        triggered = true;
    pressed = true;
    return true;
}

bool ButtonSwitch::release(bool tweensIdle) {
    if (!tweensIdle || !pressed)
        return false;
    pressed = false;
    return true;
}

} // namespace zarn
