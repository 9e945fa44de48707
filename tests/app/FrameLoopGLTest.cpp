#include "app/FrameLoop.h"

#include "app/Application.h"
#include "app/InputCallbacks.h"
#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowPuzzle.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "render/Placeable.h"
#include "render/Shader.h"
#include "render/ShaderPrograms.h"
#include "render/TextRenderer.h"
#include "support/BallSteering.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
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
                    if (readBack)
                        pixels =
                            zarn::test::readPixels(0, 0, app.settings.width, app.settings.height);
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

    // Only the last frame is read back, for the checks that follow.
    void runFrames(int count, double secondsPerFrame = 0.0, std::int64_t msPerFrame = 0) {
        for (int i = 0; i < count; ++i) {
            readBack = i + 1 == count;
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

    // Turns the eye to about (yaw, pitch) around the cube with a right-drag.
    void look(float yaw, float pitch) {
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
        runFrames(1);
        cursorX += std::round((yaw - app.camera->yaw) / cameraRadiansPerPixel);
        cursorY += std::round((pitch - app.camera->pitch) / cameraRadiansPerPixel);
        runFrames(1);
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
        runFrames(1);
    }
    // Puts the cursor over a world point, as the camera shows it now.
    void pointAt(const glm::vec3& point) {
        const glm::vec4 clip = app.camera->viewProjection() * glm::vec4(point, 1.0f);
        cursorX = (clip.x / clip.w * 0.5 + 0.5) * double(app.settings.width);
        cursorY = (0.5 - clip.y / clip.w * 0.5) * double(app.settings.height);
    }
    // A press in one frame and the release in the next, settleSeconds later:
    // a frame's time reaches the puzzles in the frame after it, so the move
    // has played out when the next click's frame begins.
    void clickAt(const glm::vec3& point, double settleSeconds = 0.0) {
        pointAt(point);
        mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
        runFrames(1, settleSeconds);
        mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
        runFrames(1);
    }
    static glm::vec3 tileSlot(int row, int column) {
        return {float(column - 1), float(1 - row), 1.625f};
    }
    const std::array<int, 25>& flowCells() const { return app.flowPuzzle->rules.cells; }

    // Pixels of the last frame in [x0, x1) x [y0, y1), bottom-left origin, that match.
    int count(int x0, int y0, int x1, int y1, bool (*match)(const std::uint8_t*)) const {
        int found = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                found += match(&pixels[(std::size_t(y) * app.settings.width + x) * 4]) ? 1 : 0;
        return found;
    }

    Application app;
    double seconds = 0.0;
    std::int64_t milliseconds = 100000;
    double cursorX = 400.0, cursorY = 400.0;
    std::vector<std::function<void(GLFWwindow*)>> pendingEvents;
    std::vector<std::uint8_t> pixels;
    bool readBack = true;
    std::string output;
    StepCounter stepCounter;
};

// The whole game in a small window, from a settings file: the same game with
// fewer pixels to draw in each of its few thousand frames.
class WholeGameGLTest : public FrameLoopGLTest {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        // ZARN_WIN_SCREENSHOT names a PNG to write the win screen to, in a
        // full-size window; the test itself plays in a small one.
        shotFile = std::getenv("ZARN_WIN_SCREENSHOT");
        size = shotFile ? 800 : 320;
        const std::string side = std::to_string(size);
        directory.write("assets/settings.ini",
                        "[window]\nwidth = " + side + "\nheight = " + side + "\n");
        const fs::path built = fs::current_path() / "assets";
        for (const char* folder : {"fonts", "models", "shader", "textures"})
            fs::create_directory_symlink(built / folder, directory.path() / "assets" / folder);
        inside = std::make_unique<zarn::test::WorkingDirectory>(directory.path());
        FrameLoopGLTest::SetUp();
    }
    void TearDown() override {
        FrameLoopGLTest::TearDown();
        inside.reset();
    }

    zarn::test::TempDirectory directory;
    std::unique_ptr<zarn::test::WorkingDirectory> inside;
    const char* shotFile = nullptr;
    int size = 320;
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

    // Clicks, arrow keys and physics steps stop; the countdown never goes
    // negative, and the frames are still drawn.
    const int steps = stepCounter.steps;
    const TileArrangement tiles = app.movingTiles->grid.tiles;
    const glm::vec3 ball = app.ballGame->ballCentre();
    clickAt(tileSlot(2, 1), 1.0); // beside the blank
    releaseKey(GLFW_KEY_RIGHT);
    releaseKey(GLFW_KEY_UP);
    runFrames(2, 100.0, 100);
    EXPECT_EQ(app.movingTiles->grid.tiles, tiles);
    EXPECT_EQ(app.ballGame->ballCentre(), ball);
    EXPECT_EQ(stepCounter.steps, steps);
    EXPECT_EQ(app.frame.remainingSeconds, 0);
    EXPECT_GT(count(180, 395, 600, 450, red), 500);
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
    // No "Time is up, try again": only the few red pixels of the tiles' picture.
    EXPECT_LT(count(180, 395, 600, 450, red), 100);
}

// Each click cycles a flow cell's colour once.
TEST_F(FrameLoopGLTest, AClickIsAPressSeenBetweenTwoPolls) {
    look(-1.5707964f, 0.0f); // the flow puzzle on the +x side
    pointAt(FlowPuzzle::cellCentre(0));
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    EXPECT_EQ(flowCells()[0], 0);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(5); // held: one click
    EXPECT_EQ(flowCells()[0], 1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(flowCells()[0], 2);
}

// Every click goes to all four clickable objects; only the owner of the
// collider under the cursor acts.
TEST_F(FrameLoopGLTest, OnlyTheObjectUnderTheCursorTakesAClick) {
    runFrames(1);
    const auto flow = flowCells();
    const RiverCrossing river = app.riverCrossing->rules;
    const auto unchanged = [&] {
        EXPECT_EQ(flowCells(), flow);
        EXPECT_EQ(app.riverCrossing->rules.boatLoaded, river.boatLoaded);
        EXPECT_EQ(app.riverCrossing->rules.boatAtStart, river.boatAtStart);
        EXPECT_FALSE(app.cubeBottom->state.pressed);
        EXPECT_TRUE(app.cubeBottom->animator.isIdle());
    };
    cursorX = 5.0, cursorY = 5.0; // the sky
    const std::vector<std::uint8_t> before = pixels;
    clickAt(glm::vec3(0.0f, 30.0f, 0.0f));
    EXPECT_EQ(app.movingTiles->grid.tiles, startArrangement);
    unchanged();

    // The blank starts bottom left; the tile beside it slides there.
    const int tile = app.movingTiles->grid.tiles[2][1];
    clickAt(tileSlot(2, 1), 0.5);
    runFrames(1);
    EXPECT_EQ(app.movingTiles->grid.tiles[2][0], tile);
    unchanged();
    // The slot the tile left now shows the sunk blank's dark well, where it
    // showed a bright tile before.
    const auto brightness = [](const std::vector<std::uint8_t>& image, int x, int y) {
        const std::uint8_t* p = &image[(std::size_t(y) * 800 + x) * 4];
        return p[0] + p[1] + p[2];
    };
    pointAt(tileSlot(2, 1));
    const int x = int(cursorX), y = 800 - int(cursorY);
    EXPECT_LT(brightness(pixels, x, y) + 150, brightness(before, x, y));
}

// The whole game as a player plays it, turning the view by right-drags:
// the tiles, the river and the flow board by clicks, the ball by arrow keys
// alone; each solved item counts and slides its panel piece out, and the red
// button, pressed once all four are solved, wins.
TEST_F(WholeGameGLTest, APlayerWinsTheWholeGame) {
    runFrames(1);
    // Sliding tiles: the shortest solution, found over the rules' own moves.
    std::map<TileArrangement, TileArrangement> cameFrom{{startArrangement, startArrangement}};
    std::vector<TileArrangement> frontier{startArrangement};
    for (std::size_t next = 0; !cameFrom.count(goalArrangement); ++next) {
        for (int slot = 0; slot < tileCount; ++slot) {
            TileGrid grid;
            grid.tiles = frontier.at(next);
            if (grid.tryMove(slot / 3, slot % 3, true) &&
                cameFrom.emplace(grid.tiles, frontier[next]).second)
                frontier.push_back(grid.tiles);
        }
    }
    std::vector<TileArrangement> path{goalArrangement};
    while (path.back() != startArrangement)
        path.push_back(cameFrom.at(path.back()));
    for (std::size_t i = path.size() - 1; i > 0; --i) {
        // The tile that moves leaves the slot where the blank is next.
        const TileSlot from = findTile(path[i - 1], blankTile);
        clickAt(tileSlot(from.row, from.column), 0.3);
    }
    EXPECT_TRUE(app.movingTiles->solved);
    EXPECT_EQ(app.frame.solvedCount, 1);

    // River crossing, from its side: rabbit over, back empty, bear over,
    // rabbit back, carrot over, back empty, rabbit over.
    look(1.5707964f, 0.0f);
    const auto target = [&](int row, int column) {
        return app.riverCrossing->pickCentres[std::size_t(row)][std::size_t(column)];
    };
    const glm::vec3 arrow = target(1, 1), boatHere = target(0, 1), boatThere = target(2, 1);
    const std::vector<glm::vec3> crossing = {
        target(1, 0), arrow,        boatThere,    arrow,    target(0, 0), arrow,
        boatThere,    target(1, 2), arrow,        boatHere, target(2, 0), arrow,
        boatThere,    arrow,        target(1, 0), arrow,    boatThere};
    for (const glm::vec3& point : crossing)
        clickAt(point, 0.6);
    EXPECT_TRUE(app.riverCrossing->solved);
    EXPECT_EQ(app.frame.solvedCount, 2);

    // Flow: each free cell clicked as often as its colour in the solution.
    look(-1.5707964f, 0.0f);
    for (int k = 0; k < 25; ++k)
        for (int value = 0; value < flowSolution[std::size_t(k / 5)][std::size_t(k % 5)]; ++value)
            if (app.flowPuzzle->rules.editable[std::size_t(k)])
                clickAt(FlowPuzzle::cellCentre(k));
    EXPECT_TRUE(app.flowPuzzle->solved);
    EXPECT_EQ(app.frame.solvedCount, 3);

    // The panel slides the three pieces out one after another.
    runFrames(7, 5.0);
    PentagonPanel& panel = *app.pentagonPanel;
    for (int number : {2, 4, 5})
        EXPECT_EQ(panel.pieces[std::size_t(number)].model->placement(),
                  panel.pieces[std::size_t(number)].pushedPose)
            << "piece " << number;
    EXPECT_EQ(panel.pieces[1].model->placement(), panel.pieces[1].restPose);

    // The button under the cube counts only once the four are solved.
    look(0.0f, -1.5f);
    const glm::vec3 button(0.0f, -1.875f, 0.0f);
    clickAt(button, 0.6);
    runFrames(1, 0.5); // the release plays out
    EXPECT_FALSE(app.cubeBottom->state.triggered) << "pressed before the ball maze is solved";

    // The ball maze from above, by arrow keys: the physics clock now runs.
    look(0.0f, 1.2f);
    zarn::test::BallSteering steering;
    int frames = 0;
    for (; frames < 60 * 120 && !app.ballGame->solved; ++frames) {
        for (int key : steering.keys(app.ballGame->ballCentre(), 0.017f, app.input.cameraPosition))
            releaseKey(key);
        runFrames(1, 0.017, 17);
    }
    ASSERT_TRUE(app.ballGame->solved) << "the ball is at " << app.ballGame->ballCentre().x << ", "
                                      << app.ballGame->ballCentre().z;
    runFrames(1);
    EXPECT_EQ(app.frame.solvedCount, 4);

    look(0.0f, -1.5f);
    clickAt(button);
    EXPECT_TRUE(app.cubeBottom->state.triggered);
    EXPECT_EQ(app.frame.solvedCount, 5);
    const int frozenAt = app.frame.remainingSeconds;
    const double wonAt = seconds;
    EXPECT_LT(wonAt, 240.0) << "a win with little time to spare";
    runFrames(1, 3.0);
    EXPECT_TRUE(app.input.gameOver);
    EXPECT_EQ(app.frame.remainingSeconds, frozenAt) << "the countdown stops";
    // "You saved the world" starts at (180, height / 2), in green.
    EXPECT_GT(count(180, size / 2 - 5, size, size / 2 + 15, green), 100) << "no win text";
    // The ball maze's piece slides out, then the lock.
    runFrames(4, 5.0);
    for (int number = 1; number <= 5; ++number)
        EXPECT_EQ(panel.pieces[std::size_t(number)].model->placement(),
                  panel.pieces[std::size_t(number)].pushedPose)
            << "piece " << number;
    std::cout << "The game was won after " << wonAt << " s of game time; the ball took "
              << steering.pushes << " pushes in " << steering.attempts << " attempt(s) over "
              << frames << " frames." << std::endl;

    if (shotFile) { // the open lock on the back, under the win text
        look(3.1415927f, 0.35f);
        stbi_flip_vertically_on_write(1);
        EXPECT_TRUE(stbi_write_png(shotFile, size, size, 4, pixels.data(), size * 4));
    }
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
