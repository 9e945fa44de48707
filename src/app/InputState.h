#pragma once

#include <glm/glm.hpp>

#include <cstdint>

namespace zarn {

// Eye distance at the start of a game, and how near and far the wheel may
// take it: near enough to fill the window with a face, while the eye stays
// outside everything on the cube; far enough to see the whole cube small,
// yet still a clear target.
inline constexpr float cameraStartDistance = 6.0f;
inline constexpr float cameraMinDistance = 3.5f;
inline constexpr float cameraMaxDistance = 12.0f;

// Flags shared by the input callbacks and the frame loop. Everything runs on
// the main thread, so nothing here needs locking.
struct InputState {
    bool leftMouseDown = false;
    bool leftMouseDownLastFrame = false;
    bool rightMouseDown = false;
    // The cursor as the latest event placed it, window pixels.
    glm::dvec2 cursor{0.0};
    float cameraDistance = cameraStartDistance;
    // Eye position of the latest camera update; arrow keys are seen from it.
    glm::vec3 cameraPosition{0.0f};
    bool focused = false; // as the latest focus event said
    bool showHelp = false;
    bool wireframe = false;
    bool cullFaces = true; // start-up enables face culling
    bool showStats = false;
    bool minimised = false;
    bool pausedByMinimising = false; // and so to go on when shown again
    // Input and window events so far: a resting frame loop draws again only
    // when this changes.
    std::uint64_t events = 0;
};

// A click is a left-button press edge between two frames' event polls.
inline bool isClick(bool downLastFrame, bool downNow) {
    return !downLastFrame && downNow;
}

} // namespace zarn
