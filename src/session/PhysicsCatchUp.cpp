#include "session/PhysicsCatchUp.h"

namespace zarn {

int PhysicsCatchUp::stepsDue(std::int64_t nowMilliseconds) {
    const std::int64_t elapsed = nowMilliseconds - lastClock;
    if (elapsed <= millisecondsPerStep)
        return 0;
    const std::int64_t steps = elapsed / millisecondsPerStep;
    lastClock = nowMilliseconds - (elapsed - millisecondsPerStep * steps);
    return int(steps);
}

} // namespace zarn
