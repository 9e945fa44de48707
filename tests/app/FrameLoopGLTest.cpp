#include "app/FrameLoop.h"

#include "app/Application.h"
#include "app/InputCallbacks.h"
#include "physics/PhysicsWorld.h"
#include "render/Placeable.h"
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

namespace {

bool grey(const std::uint8_t* p) {
    return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] < 200 && p[0] > 60;
}
bool red(const std::uint8_t* p) {
    return p[0] > 200 && p[0] - p[1] > 50 && p[0] - p[2] > 50;
}
bool green(const std::uint8_t* p) {
    return p[1] > 200 && p[1] - p[0] > 50 && p[1] - p[2] > 50;
}

// Counts the physics steps that move it.
struct StepCounter : Placeable {
    glm::mat4 placement() const override { return glm::mat4(1.0f); }
    void place(const glm::mat4&) override { ++steps; }
    int steps = 0;
};

// Runs the real start-up and frame loop with a clock, a cursor and an event
// queue that the test controls. Events go through the game's own input
// callbacks inside the frame's event poll; each frame is read back just
// before its buffer swap.
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
                    pixels = zarn::test::readPixels(0, 0, 800, 800);
                    glfwSwapBuffers(window);
                };
                return platform;
            });
        });
        app.frame.physicsClock = PhysicsCatchUp(milliseconds);
        app.physics->createDynamicSphere(&stepCounter, 0.1f, glm::mat4(1.0f));
        // Whatever the application still holds after its teardown must not
        // reach for the context when the fixture destroys it.
        zarn::test::trapGLCallsWithoutContext();
    }

    void TearDown() override { app.tearDown(); }

    void runFrames(int count, double secondsPerFrame = 0.0, std::int64_t msPerFrame = 0) {
        for (int i = 0; i < count; ++i) {
            output += zarn::test::captureStdout([&] { runFrame(app); });
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

    // Pixels of the last frame in [x0, x1) x [y0, y1), bottom-left origin, that match.
    int count(int x0, int y0, int x1, int y1, bool (*match)(const std::uint8_t*)) const {
        int found = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                found += match(&pixels[(std::size_t(y) * 800 + x) * 4]) ? 1 : 0;
        return found;
    }

    Application app;
    double seconds = 0.0;
    std::int64_t milliseconds = 100000;
    double cursorX = 400.0, cursorY = 400.0;
    std::vector<std::function<void(GLFWwindow*)>> pendingEvents;
    std::vector<std::uint8_t> pixels;
    std::string output;
    StepCounter stepCounter;
};

} // namespace

TEST_F(FrameLoopGLTest, FirstFrameShowsTheCountdownAndHelpLabel) {
    EXPECT_EQ(app.frame.remainingSeconds, 300);
    EXPECT_FLOAT_EQ(app.frame.statusX, 550.0f);
    seconds = 2.0;
    runFrames(1);
    // The first frame's end measures everything since start-up.
    EXPECT_FLOAT_EQ(app.frame.deltaSeconds, 2.0f);
    EXPECT_GT(count(10, 5, 100, 40, grey), 40);   // "Help: F1"
    EXPECT_GT(count(550, 5, 790, 40, grey), 100); // "Remaining time: 5:00"
    EXPECT_EQ(count(110, 0, 540, 60, grey), 0);
    // The overlay leaves the state the next frame's 3D passes expect.
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
}

TEST_F(FrameLoopGLTest, TimeUpEndsTheGameInTheFollowingFrame) {
    seconds = 65.7;
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 235);
    seconds = 300.0;
    runFrames(1);
    EXPECT_EQ(app.frame.remainingSeconds, 0);
    EXPECT_FALSE(app.input.gameOver);

    runFrames(1);
    EXPECT_TRUE(app.input.gameOver);
    EXPECT_GT(count(180, 395, 600, 450, red), 500); // "Time is up, try again" at y = width / 2
    EXPECT_GT(count(550, 5, 790, 40, grey), 100);   // the grey countdown over the red one

    // Clicks and physics steps stop; the countdown never goes negative.
    const int steps = stepCounter.steps;
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(3, 100.0, 100);
    EXPECT_EQ(app.frame.clicksTaken, 0);
    EXPECT_EQ(stepCounter.steps, steps);
    EXPECT_EQ(app.frame.remainingSeconds, 0);
}

TEST_F(FrameLoopGLTest, FiveSolvedItemsWinAndFreezeTheCountdown) {
    seconds = 100.5;
    runFrames(1);
    // As if the previous frame had counted the fifth item, in a frame in
    // which the time would also be up.
    app.frame.solvedCount = 5;
    seconds = 400.0;
    runFrames(1);
    EXPECT_TRUE(app.input.gameOver);
    EXPECT_EQ(app.frame.remainingSeconds, 200);
    EXPECT_GT(count(180, 395, 600, 450, green), 500);
    EXPECT_EQ(count(180, 395, 600, 450, red), 0);
}

TEST_F(FrameLoopGLTest, AClickIsAPressSeenBetweenTwoPolls) {
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    EXPECT_EQ(app.frame.clicksTaken, 0);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(5); // held: one click
    EXPECT_EQ(app.frame.clicksTaken, 1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(app.frame.clicksTaken, 2);
}

TEST_F(FrameLoopGLTest, StatisticsAndHelpImageReplaceTheHelpLabel) {
    releaseKey(GLFW_KEY_F7);
    runFrames(1);
    EXPECT_GT(count(10, 760, 120, 795, grey), 40); // "FPS: 0" at the top left
    EXPECT_GT(count(130, 5, 220, 40, grey), 40);   // "Puzzles solved: 0" is longer than "Help: F1"

    releaseKey(GLFW_KEY_F7);
    releaseKey(GLFW_KEY_F1);
    runFrames(1);
    EXPECT_GT(app.textRenderer->hudWidth, 0) << "assets/textures/hud_controls.png is missing";
    EXPECT_EQ(count(10, 5, 95, 40, grey), 0);
}

TEST_F(FrameLoopGLTest, CameraUniformsReachTheProgramsEveryFrame) {
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
    // The sky sets its own matrix when it draws; these keep the camera's.
    for (const Program which : {Program::ModelLoading, Program::PhongInstanced, Program::Particle,
                                Program::CelShadedInstanced, Program::ShadowMapped}) {
        const GLuint program = app.program(which)->programId;
        glm::mat4 actual(0.0f);
        glGetUniformfv(program, glGetUniformLocation(program, "viewProjMatrix"),
                       glm::value_ptr(actual));
        EXPECT_EQ(actual, expected) << programName(which);
    }
}

TEST_F(FrameLoopGLTest, StartUpLightsTheFourLitPrograms) {
    for (const Program which : litPrograms) {
        const GLuint program = app.program(which)->programId;
        glm::vec3 direction(0.0f), colour(0.0f);
        glGetUniformfv(program, glGetUniformLocation(program, "Lights[0].posDir"),
                       glm::value_ptr(direction));
        glGetUniformfv(program, glGetUniformLocation(program, "Lights[0].lightColor"),
                       glm::value_ptr(colour));
        EXPECT_EQ(direction, glm::vec3(0, -1, -1)) << programName(which);
        EXPECT_EQ(colour, glm::vec3(0.8f)) << programName(which);
    }
}

TEST_F(FrameLoopGLTest, PhysicsCatchUpRunsFixedStepsAndEscapeEndsTheLoop) {
    runFrames(2, 0.0, 100); // the clock moves after each frame
    EXPECT_EQ(stepCounter.steps, 6);

    int frames = 0;
    app.platform.pollEvents = [&] {
        if (++frames == 3)
            onKey(app.window, GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    };
    runFrameLoop(app);
    EXPECT_EQ(frames, 3);
}
