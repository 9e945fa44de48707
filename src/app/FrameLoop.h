#pragma once

#include "app/FrameRateCounter.h"
#include "app/PhysicsCatchUp.h"

namespace zarn {

class Application;

// Frame-loop state owned by the entry point.
struct FrameState {
    float lastFrameTime = 0.0f; // end of the previous frame, seconds
    float deltaSeconds = 0.0f;  // handed to every per-frame update
    FrameRateCounter frameRate;
    int remainingSeconds = 300;
    int solvedCount = 0;    // counted at the end of the previous frame
    int itemsSolvedNow = 0; // counted by this frame's progress bookkeeping
    PhysicsCatchUp physicsClock{0};
    float statusX = 0.0f; // x of the remaining-time line
};

// Runs one frame: input, camera, scene, game flow, HUD, physics catch-up,
// timing and the buffer swap.
void runFrame(Application& application);

// Runs frames until the window is asked to close.
void runFrameLoop(Application& application);

} // namespace zarn
