#pragma once

#include <array>

namespace zarn {

// Frames per second over cycles of 60 frames: the first 59 frame times of a
// cycle are averaged at its 60th frame, so fps stays 0 until the 60th frame.
class FrameRateCounter {
public:
    // A frame ended at wall time nowSeconds; the first one measures from
    // start-up.
    void endFrame(double nowSeconds) {
        addFrame(float(nowSeconds - lastFrameSeconds));
        lastFrameSeconds = nowSeconds;
    }
    void addFrame(float deltaSeconds);

    double lastFrameSeconds = 0.0;
    int frameCounter = 1;
    std::array<float, 60> frameTimes{}; // slots 1..59 hold the cycle's frame times
    int fps = 0;
};

} // namespace zarn
