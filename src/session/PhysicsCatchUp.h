#pragma once

#include <cstdint>

namespace zarn {

// Ties simulated time to the wall clock: one fixed physics step per 16 ms of
// elapsed time, with the remainder carried to the next frame. A long frame is
// made up by several steps in a row.
class PhysicsCatchUp {
public:
    static constexpr std::int64_t millisecondsPerStep = 16;

    explicit PhysicsCatchUp(std::int64_t nowMilliseconds) : lastClock(nowMilliseconds) {}

    // Number of fixed steps to run now; advances the reference clock.
    int stepsDue(std::int64_t nowMilliseconds);

    std::int64_t lastClock;
};

} // namespace zarn
