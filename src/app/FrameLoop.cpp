#include "app/FrameLoop.h"

#include "app/Application.h"
#include "app/GameFlow.h"
#include "physics/PhysicsWorld.h"
#include "physics/PickRay.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowPuzzle.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "render/ShaderPrograms.h"
#include "render/Skybox.h"
#include "render/TextRenderer.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace zarn {

namespace {

constexpr glm::vec3 wonColour{0.5f, 1.0f, 0.5f};
constexpr glm::vec3 lostColour{1.0f, 0.5f, 0.5f};

void uploadCameraUniforms(Application& app) {
    const glm::mat4 viewProjection = app.camera->viewProjection();
    for (const Program which : cameraPrograms) {
        Shader& shader = *app.program(which);
        glUseProgram(shader.programId);
        shader.setUniform("viewProjMatrix", viewProjection);
        shader.setUniform("viewPosition", app.camera->position);
    }
}

// Arms the button while the four puzzles are solved, counts the button once
// it is pressed armed, and slides out a panel piece for every solved item.
void updateProgress(Application& app) {
    const bool tiles = app.movingTiles->solved, ball = app.ballGame->solved,
               river = app.riverCrossing->solved, flow = app.flowPuzzle->solved;
    ButtonSwitch& button = app.cubeBottom->state;
    button.armed = tiles && ball && river && flow;
    const bool buttonCounts = button.armed && button.triggered;
    PentagonPanel& panel = *app.pentagonPanel;
    if (buttonCounts)
        panel.requestToggle(1);
    if (tiles)
        panel.requestToggle(2);
    if (ball)
        panel.requestToggle(3);
    if (river)
        panel.requestToggle(4);
    if (flow)
        panel.requestToggle(5);
    panel.update(app.frame.deltaSeconds);
    app.frame.itemsSolvedNow = int(tiles) + int(ball) + int(river) + int(flow) + int(buttonCounts);
}

// Hands a click's pick ray to the four clickable objects, in their order.
void handleClick(Application& app, int cursorX, int cursorY) {
    const PickRay ray = makePickRay(cursorX, cursorY, app.settings.width, app.settings.height,
                                    app.camera->viewProjection());
    app.movingTiles->onClick(ray.origin, ray.direction);
    app.riverCrossing->onClick(ray.origin, ray.direction);
    app.flowPuzzle->onClick(ray.origin, ray.direction);
    app.cubeBottom->onClick(ray.origin, ray.direction);
}

// Decides won, running or time up, takes a fresh click while the game runs
// and draws the end-of-game texts.
void runGameFlow(Application& app, int cursorX, int cursorY) {
    FrameState& frame = app.frame;
    TextRenderer& text = *app.textRenderer;
    const float width = float(app.settings.width);
    const float height = float(app.settings.height);

    switch (decideGameState(frame.solvedCount, frame.remainingSeconds)) {
    case GameState::Won:
        text.renderText("You saved the world", 180.0f, height * 0.5f, height / 800.0f, wonColour);
        app.input.gameOver = true;
        break;
    case GameState::Running:
        if (isClick(app.input.leftMouseDownLastFrame, app.input.leftMouseDown))
            handleClick(app, cursorX, cursorY);
        frame.remainingSeconds = remainingSecondsAt(app.platform.seconds());
        break;
    case GameState::TimeUp:
        app.input.gameOver = true;
        text.renderText("Time is up, try again", 180.0f, width * 0.5f, height / 800.0f, lostColour);
        text.renderText("Remaining time: 0:00", frame.statusX, 10.0f, height / 1600.0f, lostColour);
        break;
    }
}

void drawStatusText(Application& app) {
    FrameState& frame = app.frame;
    TextRenderer& text = *app.textRenderer;
    const float height = float(app.settings.height);

    text.drawLabel("Remaining time: " + formatRemainingTime(frame.remainingSeconds), frame.statusX,
                   10.0f);

    std::string message;
    float messageSeconds = 0.0f;
    app.riverCrossing->getMessage(message, messageSeconds);
    if (messageSeconds > 0.0f)
        text.renderText(message, 180.0f, float(app.settings.width) * 0.5f, height / 800.0f,
                        lostColour);

    if (app.input.showHelp)
        text.drawImage(100.0f, 100.0f);
    else if (!app.input.showStats)
        text.drawLabel("Help: F1", 10.0f, 10.0f);

    // The win test of the next frame reads this frame's count.
    frame.solvedCount = frame.itemsSolvedNow;

    if (app.input.showStats) {
        text.drawLabel("FPS: " + std::to_string(frame.frameRate.fps), 10.0f, height - 30.0f);
        text.drawLabel("Puzzles solved: " + std::to_string(frame.solvedCount), 10.0f, 10.0f);
    }
}

void catchUpPhysics(Application& app) {
    if (app.input.gameOver)
        return;
    const int steps = app.frame.physicsClock.stepsDue(app.platform.milliseconds());
    for (int step = 0; step < steps; ++step)
        app.physics->stepPhysics();
}

void finishFrameTiming(Application& app) {
    FrameState& frame = app.frame;
    const float previous = frame.lastFrameTime;
    frame.lastFrameTime = float(app.platform.seconds());
    frame.deltaSeconds = frame.lastFrameTime - previous;
    frame.frameRate.addFrame(frame.deltaSeconds);
}

} // namespace

void runFrame(Application& app) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glUseProgram(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    app.input.leftMouseDownLastFrame = app.input.leftMouseDown;
    app.platform.pollEvents();

    double cursorPositionX = 0.0, cursorPositionY = 0.0;
    app.platform.cursorPosition(cursorPositionX, cursorPositionY);
    const int cursorX = int(cursorPositionX), cursorY = int(cursorPositionY);
    app.camera->update(cursorX, cursorY);
    app.input.cameraPosition = app.camera->position;
    uploadCameraUniforms(app);

    // The sky comes first and writes no depth, so everything drawn later
    // covers it, particles too: they write no depth either and would be
    // painted over by a sky drawn after them.
    app.skybox->draw(app.camera->viewProjection());
    const float deltaSeconds = app.frame.deltaSeconds;
    app.ballGame->update(deltaSeconds);
    app.frameModel->drawEnvironmentMapped(app.skybox->cubeMapTexture.id());
    app.riverCrossing->update(deltaSeconds);
    app.movingTiles->update(deltaSeconds);
    app.flowPuzzle->update(deltaSeconds);
    app.cubeBottom->update(deltaSeconds);
    updateProgress(app);

    runGameFlow(app, cursorX, cursorY);
    drawStatusText(app);
    catchUpPhysics(app);
    finishFrameTiming(app);
    app.platform.swapBuffers();
}

void runFrameLoop(Application& app) {
    app.frame.physicsClock = PhysicsCatchUp(app.platform.milliseconds());
    while (!glfwWindowShouldClose(app.window))
        runFrame(app);
}

} // namespace zarn
