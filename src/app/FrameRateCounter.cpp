#include "app/FrameRateCounter.h"

namespace zarn {

void FrameRateCounter::addFrame(float deltaSeconds) {
    if (frameCounter % 60 == 0) {
        float sum = 0.0f;
        for (int i = 1; i < 60; ++i)
            sum += frameTimes[i];
        const float average = sum / 59.0f;
        // A cycle of zero-length frames (a stalled clock) has no meaningful rate.
        fps = average > 0.0f ? int(1.0f / average) : 0;
        frameCounter = 0;
    } else {
        frameTimes[frameCounter] = deltaSeconds;
    }
    ++frameCounter;
}

} // namespace zarn
