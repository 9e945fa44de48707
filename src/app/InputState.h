#pragma once

#include <glm/glm.hpp>

namespace zarn {

// Flags shared by the input callbacks and the frame loop. Everything runs on
// the main thread, so nothing here needs locking.
struct InputState {
    bool leftMouseDown = false;
    bool leftMouseDownLastFrame = false;
    bool rightMouseDown = false;
    float cameraDistance = 6.0f;
    // Eye position of the latest camera update; the key callback hands it to
    // the ball puzzle.
    glm::vec3 cameraPosition{0.0f};
    bool showHelp = false;
    bool wireframe = false;
    bool cullFaces = true; // start-up enables face culling
    bool showStats = false;
    bool gameOver = false;
};

} // namespace zarn
