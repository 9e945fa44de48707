#include "app/FrameLoop.h"

#include "app/Application.h"
#include "app/InputCallbacks.h"
#include "render/Shader.h"
#include "render/ShaderPrograms.h"
#include "render/TextRenderer.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace zarn;
using zarn::test::readPixels;

namespace {

// Pixels of a rectangle of the last frame, read just before its buffer swap.
class FrameCapture {
public:
    void capture() { pixels = readPixels(0, 0, 800, 800); }

    // Counts pixels in [x0, x1) x [y0, y1) (bottom-left origin) that match.
    int count(int x0, int y0, int x1, int y1,
              const std::function<bool(int r, int g, int b)>& match) const {
        int found = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const std::uint8_t* p = &pixels[(std::size_t(y) * 800 + x) * 4];
                found += match(p[0], p[1], p[2]) ? 1 : 0;
            }
        return found;
    }

    std::vector<std::uint8_t> pixels;
};

bool grey(int r, int g, int b) {
    return std::abs(r - g) < 8 && std::abs(g - b) < 8 && r < 200 && r > 60;
}
bool red(int r, int g, int b) {
    return r > 200 && g < 190 && b < 190 && r - g > 50;
}
bool green(int r, int g, int b) {
    return g > 200 && r < 190 && b < 190 && g - r > 50;
}
bool notWhite(int r, int g, int b) {
    return r < 235 || g < 235 || b < 235;
}

// Runs the real start-up and frame loop with a clock, a cursor and an event
// queue that the test controls. Events are delivered through the game's own
// input callbacks inside the frame's event poll.
class FrameLoopGLTest : public testing::Test {
protected:
    void SetUp() override {
        output = zarn::test::captureStdout([&] {
            app.startUp([this](GLFWwindow* window) {
                Platform platform;
                platform.seconds = [this] {
                    return seconds;
                };
                platform.milliseconds = [this] {
                    return milliseconds;
                };
                platform.pollEvents = [this, window] {
                    for (auto& event : pendingEvents)
                        event(window);
                    pendingEvents.clear();
                };
                platform.cursorPosition = [this](double& x, double& y) {
                    x = cursorX;
                    y = cursorY;
                };
                platform.swapBuffers = [this, window] {
                    frame.capture();
                    glfwSwapBuffers(window);
                };
                return platform;
            });
        });
        app.frame.physicsClock = PhysicsCatchUp(milliseconds);
    }

    void TearDown() override { app.tearDown(); }

    void runFrames(int count, double secondsPerFrame = 0.0, std::int64_t msPerFrame = 0) {
        for (int i = 0; i < count; ++i) {
            const std::string printed = zarn::test::captureStdout([&] { runFrame(app); });
            output += printed;
            seconds += secondsPerFrame;
            milliseconds += msPerFrame;
        }
    }

    void releaseKey(int key) {
        pendingEvents.push_back([key](GLFWwindow* w) { onKey(w, key, 0, GLFW_RELEASE, 0); });
    }
    void mouse(int button, int action) {
        pendingEvents.push_back(
            [button, action](GLFWwindow* w) { onMouseButton(w, button, action, 0); });
    }

    Application app;
    double seconds = 0.0;
    std::int64_t milliseconds = 100000;
    double cursorX = 400.0, cursorY = 400.0;
    std::vector<std::function<void(GLFWwindow*)>> pendingEvents;
    FrameCapture frame;
    std::string output;
};

} // namespace

TEST_F(FrameLoopGLTest, StartUpBuildsTheWindowProgramsAndInitialState) {
    int width = 0, height = 0;
    glfwGetWindowSize(app.window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 800);
    for (int number = 1; number <= 11; ++number) {
        ASSERT_NE(app.program(number), nullptr);
        GLint linked = GL_FALSE;
        glGetProgramiv(app.program(number)->programId, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << shaderProgramNames[number - 1];
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    EXPECT_EQ(app.frame.remainingSeconds, 300);
    EXPECT_FLOAT_EQ(app.frame.statusX, 550.0f);
    EXPECT_EQ(app.textRenderer->characters.size(), 128u);
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
}

TEST_F(FrameLoopGLTest, FirstFrameShowsTheCountdownAndHelpLabelOnWhite) {
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 300);
    // White everywhere but the two grey labels along the bottom edge.
    EXPECT_EQ(frame.count(0, 60, 800, 800, notWhite), 0);
    EXPECT_GT(frame.count(10, 5, 100, 40, grey), 40);     // "Help: F1"
    EXPECT_GT(frame.count(550, 5, 790, 40, grey), 100);   // "Remaining time: 5:00"
    EXPECT_EQ(frame.count(110, 0, 540, 60, notWhite), 0); // nothing between them
    // The overlay leaves the state the next frame's 3D passes expect.
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 800);
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
}

TEST_F(FrameLoopGLTest, CountdownFollowsTheClockSinceStartUp) {
    seconds = 65.7;
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 235);
    seconds = 299.99;
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 1);
    EXPECT_FALSE(app.input.gameOver);
}

TEST_F(FrameLoopGLTest, TimeUpEndsTheGameInTheFollowingFrame) {
    seconds = 300.0;
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 0);
    EXPECT_FALSE(app.input.gameOver);
    EXPECT_EQ(frame.count(150, 380, 700, 460, red), 0);

    runFrames(1);
    EXPECT_TRUE(app.input.gameOver);
    // "Time is up, try again" at (180, width / 2), red, full size.
    EXPECT_GT(frame.count(180, 395, 600, 450, red), 500);
    EXPECT_EQ(frame.count(0, 60, 170, 800, notWhite), 0);
    // "Remaining time: 0:00": the grey label is drawn over the red one.
    EXPECT_GT(frame.count(550, 5, 790, 40, grey), 100);

    // Clicks and physics steps stop; the countdown never goes negative.
    const long steps = app.frame.physicsStepsRun;
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    seconds = 1000.0;
    runFrames(3, 1.0, 100);
    EXPECT_EQ(app.frame.clicksTaken, 0);
    EXPECT_EQ(app.frame.physicsStepsRun, steps);
    EXPECT_EQ(app.frame.remainingSeconds, 0);
}

TEST_F(FrameLoopGLTest, FiveSolvedItemsWinAndFreezeTheCountdown) {
    seconds = 100.5;
    runFrames(1);
    ASSERT_EQ(app.frame.remainingSeconds, 200);
    // As if the previous frame had counted the fifth item; winning is tested
    // before the clock, even when the time is up in the same frame.
    app.frame.solvedCount = 5;
    seconds = 400.0;
    runFrames(1);
    EXPECT_TRUE(app.input.gameOver);
    EXPECT_EQ(app.frame.remainingSeconds, 200);
    EXPECT_GT(frame.count(180, 395, 600, 450, green), 500);
    EXPECT_EQ(frame.count(180, 395, 600, 450, red), 0);
}

TEST_F(FrameLoopGLTest, AClickIsAPressSeenBetweenTwoPolls) {
    // Press and release inside one poll: no click.
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    EXPECT_EQ(app.frame.clicksTaken, 0);
    // Holding the button clicks once.
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(5);
    EXPECT_EQ(app.frame.clicksTaken, 1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(app.frame.clicksTaken, 2);
    // The right button is not a click.
    mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(app.frame.clicksTaken, 2);
}

TEST_F(FrameLoopGLTest, FirstFrameTimeCoversEverythingSinceStartUp) {
    seconds = 2.0;
    runFrames(1);
    EXPECT_FLOAT_EQ(app.frame.deltaSeconds, 2.0f);
    seconds = 2.25;
    runFrames(1);
    EXPECT_FLOAT_EQ(app.frame.deltaSeconds, 0.25f);
}

TEST_F(FrameLoopGLTest, FrameRateIsZeroUntilTheSixtiethFrame) {
    // 1/64 s is exact in binary, so the rate comes out as exactly 64.
    seconds = 1.0 / 64.0;
    runFrames(59, 1.0 / 64.0);
    EXPECT_EQ(app.frame.frameRate.fps, 0);
    runFrames(1, 1.0 / 64.0);
    EXPECT_EQ(app.frame.frameRate.fps, 64);
}

TEST_F(FrameLoopGLTest, StatisticsReplaceTheHelpLabel) {
    releaseKey(GLFW_KEY_F7);
    runFrames(1);
    EXPECT_TRUE(app.input.showStats);
    EXPECT_GT(frame.count(10, 760, 120, 795, grey), 40); // "FPS: 0" at the top left
    // "Puzzles solved: 0" reaches much further right than "Help: F1".
    EXPECT_GT(frame.count(130, 5, 220, 40, grey), 40);

    releaseKey(GLFW_KEY_F7);
    runFrames(1);
    EXPECT_EQ(frame.count(10, 700, 790, 800, notWhite), 0);
    EXPECT_EQ(frame.count(130, 5, 220, 40, notWhite), 0);
    EXPECT_GT(frame.count(10, 5, 100, 40, grey), 40);
}

TEST_F(FrameLoopGLTest, HelpImageReplacesTheHelpLabel) {
    releaseKey(GLFW_KEY_F1);
    runFrames(1);
    EXPECT_TRUE(app.input.showHelp);
    ASSERT_GT(app.textRenderer->hudWidth, 0) << "assets/textures/hud_controls.png is missing";
    const int w = app.textRenderer->hudWidth, h = app.textRenderer->hudHeight;
    // The image covers its rectangle at (100, 100) and nothing else changed.
    EXPECT_GT(frame.count(100, 100, 100 + w, 100 + h, notWhite), w * h / 20);
    EXPECT_EQ(frame.count(10, 5, 95, 40, notWhite), 0);
    EXPECT_EQ(frame.count(0, 100 + h + 2, 800, 800, notWhite), 0);
}

TEST_F(FrameLoopGLTest, CameraUniformsReachTenProgramsEveryFrame) {
    runFrames(1);
    mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(app.camera->yaw, 0.0f); // pressing does not move the view
    cursorX = 500.0;
    cursorY = 460.0;
    runFrames(1);
    EXPECT_NEAR(app.camera->yaw, 0.5f, 1e-6f);
    EXPECT_NEAR(app.camera->pitch, 0.3f, 1e-6f);
    EXPECT_EQ(app.input.cameraPosition, app.camera->position);

    const glm::mat4 expected = app.camera->viewProjection();
    for (const int number : cameraProgramNumbers) {
        Shader& shader = *app.program(number);
        const GLint location = glGetUniformLocation(shader.programId, "viewProjMatrix");
        if (location == -1)
            continue; // the program does not use the camera
        glm::mat4 actual(0.0f);
        glGetUniformfv(shader.programId, location, glm::value_ptr(actual));
        EXPECT_EQ(actual, expected) << shaderProgramNames[number - 1];
    }
    // The sky, particles and lit programs all place geometry with the camera.
    for (const int number : {1, 3, 5, 7, 9, 11})
        EXPECT_NE(glGetUniformLocation(app.program(number)->programId, "viewProjMatrix"), -1)
            << shaderProgramNames[number - 1];
}

TEST_F(FrameLoopGLTest, PhysicsCatchUpRunsFixedStepsWhileTheGameRuns) {
    runFrames(1, 0.0, 100); // the clock moves after the frame
    EXPECT_EQ(app.frame.physicsStepsRun, 0);
    runFrames(1, 0.0, 100);
    EXPECT_EQ(app.frame.physicsStepsRun, 6);
    runFrames(1);
    EXPECT_EQ(app.frame.physicsStepsRun, 12); // 100 + 4 carried ms
}

TEST_F(FrameLoopGLTest, EscapeEndsTheLoopAfterTheCurrentFrame) {
    int frames = 0;
    app.platform.pollEvents = [&] {
        ++frames;
        if (frames == 3)
            onKey(app.window, GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    };
    runFrameLoop(app);
    EXPECT_EQ(frames, 3);
}
