#include "app/FrameLoop.h"

#include "app/Application.h"
#include "physics/PickRay.h"
#include "session/GameSession.h"
#include "views/Renderer.h"

#include <GLFW/glfw3.h>

namespace zarn {

void runFrame(Application& app) {
    InputState& input = app.input();
    Platform& platform = app.platform();
    input.leftMouseDownLastFrame = input.leftMouseDown;
    platform.pollEvents();

    double cursorPositionX = 0.0, cursorPositionY = 0.0;
    platform.cursorPosition(cursorPositionX, cursorPositionY);
    const int cursorX = int(cursorPositionX), cursorY = int(cursorPositionY);
    Camera& camera = app.camera();
    camera.update(cursorX, cursorY);
    input.cameraPosition = camera.position;

    GameSession& session = app.session();
    const double now = platform.seconds();
    session.advance(now);
    if (isClick(input.leftMouseDownLastFrame, input.leftMouseDown))
        session.click(makePickRay(cursorX, cursorY, app.settings().width, app.settings().height,
                                  camera.viewProjection()));
    app.frameEvents() = session.takeEvents();

    Renderer& renderer = app.renderer();
    renderer.advance(session);
    renderer.drawScene(session, camera.viewProjection(), camera.position);
    renderer.hud().draw(session, input.showHelp, input.showStats, app.frameRate().fps);
    app.frameRate().endFrame(now);
    platform.swapBuffers();
}

void runFrameLoop(Application& app) {
    while (!glfwWindowShouldClose(app.window()))
        runFrame(app);
}

} // namespace zarn
