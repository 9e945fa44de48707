#pragma once

namespace zarn {

class Application;

// One frame: input, camera, the game advanced to the wall clock, the click,
// the scene and the overlay, the frame rate and the buffer swap.
void runFrame(Application& application);

// Runs frames until the window is asked to close.
void runFrameLoop(Application& application);

} // namespace zarn
