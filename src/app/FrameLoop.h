#pragma once

namespace zarn {

class Application;

// One frame: input, camera, the game advanced to the wall clock, the click,
// the scene and the overlay, the frame rate and the buffer swap. Paused or
// minimised, it waits for input first and draws only what changed.
void runFrame(Application& application);

// How long a resting frame loop sleeps at most before it looks at the game
// again: a minimised game that still runs moves on at this pace.
inline constexpr double restWaitSeconds = 0.25;

// Runs frames until the window is asked to close.
void runFrameLoop(Application& application);

} // namespace zarn
