#pragma once

#include <array>

namespace zarn {

// Frames per second over cycles of 60 frames: the first 59 frame times of a
// cycle are averaged at its 60th frame, so fps stays 0 until the 60th frame.
class FrameRateCounter {
public:
    void addFrame(float deltaSeconds);

    int frameCounter = 1;
    std::array<float, 60> frameTimes{}; // slots 1..59 hold the cycle's frame times
    int fps = 0;
};

} // namespace zarn
