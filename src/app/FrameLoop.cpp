#include "app/FrameLoop.h"

#include "app/Application.h"
#include "physics/PickRay.h"
#include "session/GameSession.h"
#include "session/RecordBook.h"
#include "sound/GameSound.h"
#include "views/Renderer.h"

#include <GLFW/glfw3.h>

namespace zarn {

void runFrame(Application& app) {
    InputState& input = app.input();
    Platform& platform = app.platform();
    GameSession& session = app.session();
    input.leftMouseDownLastFrame = input.leftMouseDown;
    // Paused or minimised, the picture changes only with input: once a frame
    // shows the rest, the loop sleeps until an event comes instead of
    // drawing the same picture again.
    bool& restShown = app.restShown();
    const bool resting = (session.paused() || input.minimised) && restShown;
    const std::uint64_t eventsBefore = input.events;
    platform.pollEvents(resting ? restWaitSeconds : 0.0);

    glm::ivec2 window(0), framebuffer(0);
    platform.windowSize(window.x, window.y);
    platform.framebufferSize(framebuffer.x, framebuffer.y);
    app.resize(window, framebuffer);
    // A minimised window has no pixels to draw.
    const bool hidden = input.minimised || framebuffer.x <= 0 || framebuffer.y <= 0;

    double cursorPositionX = 0.0, cursorPositionY = 0.0;
    platform.cursorPosition(cursorPositionX, cursorPositionY);
    const int cursorX = int(cursorPositionX), cursorY = int(cursorPositionY);
    Camera& camera = app.camera();
    camera.update(cursorX, cursorY);
    input.cameraPosition = camera.position;

    const double now = platform.seconds();
    session.advance(now);
    // Clicks are picked in framebuffer pixels, which a scaled display makes
    // more than the window's.
    if (isClick(input.leftMouseDownLastFrame, input.leftMouseDown) && !hidden && window.x > 0 &&
        window.y > 0)
        session.click(makePickRay(cursorX * framebuffer.x / window.x,
                                  cursorY * framebuffer.y / window.y, framebuffer.x, framebuffer.y,
                                  camera.viewProjection()));
    app.frameEvents() = session.takeEvents();
    if (!app.demo()) // a game that plays itself sets no records
        app.records().observe(app.frameEvents());
    app.sound().update(session, app.frameEvents(), camera.position);
    // Nobody sees a minimised window; a resting one shows nothing new.
    if (hidden) {
        restShown = true;
        return;
    }
    if (resting && session.paused() && input.events == eventsBefore)
        return;
    restShown = session.paused();

    Renderer& renderer = app.renderer();
    renderer.advance(session);
    renderer.drawScene(session, camera.viewProjection(), camera.position);
    renderer.hud().draw(session, app.records().winLine(), input.showHelp, input.showStats,
                        app.frameRate().fps);
    app.frameRate().endFrame(now);
    platform.swapBuffers();
}

void runFrameLoop(Application& app) {
    while (!glfwWindowShouldClose(app.window()))
        runFrame(app);
}

} // namespace zarn
