#include "app/Application.h"
#include "app/DemoPlayer.h"

#include "app/FrameLoop.h"
#include "app/InputCallbacks.h"
#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "puzzles/Solvers.h"
#include "render/ParticleSimulation.h"
#include "render/Shader.h"
#include "session/GameSession.h"
#include "session/RecordBook.h"
#include "sound/GameSound.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"
#include "views/Renderer.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <vector>

using namespace zarn;

namespace {

using Kind = GameEvent::Kind;

bool grey(const std::uint8_t* p) {
    return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] < 200 && p[0] > 60;
}
bool red(const std::uint8_t* p) {
    return p[0] > 200 && p[0] - p[1] > 50 && p[0] - p[2] > 50;
}
bool green(const std::uint8_t* p) {
    return p[1] > 200 && p[1] - p[0] > 50 && p[1] - p[2] > 50;
}
bool yellow(const std::uint8_t* p) {
    return p[0] > 220 && p[1] > 200 && p[2] < 170;
}
bool gold(const std::uint8_t* p) {
    return p[0] > 200 && p[1] > 160 && p[2] < 130 && p[0] - p[2] > 100;
}

// RGB of an RGBA image.
std::vector<std::uint8_t> rgb(const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> out;
    out.reserve(rgba.size() / 4 * 3);
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        out.insert(out.end(), rgba.begin() + long(i), rgba.begin() + long(i) + 3);
    return out;
}

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

// AddressSanitizer keeps freed blocks resident in its quarantine for a
// while: what the program still holds is its count of allocated bytes.
long residentBytes() {
    return long(__sanitizer_get_current_allocated_bytes());
}
#else
// Resident memory of this process, in bytes.
long residentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}
#endif

// The real start-up and frame loop in a window of the size given, from a
// settings file, with a clock, a cursor and an event queue that the test
// controls. Events go through the game's own input callbacks inside the
// frame's event poll; each frame is read back just before its buffer swap.
class ApplicationGLTest : public testing::Test {
protected:
    void start(int windowWidth, int windowHeight, const std::string& moreSettings = "") {
        namespace fs = std::filesystem;
        width = windowWidth, height = windowHeight;
        directory.write("assets/settings.ini", "[window]\nwidth = " + std::to_string(width) +
                                                   "\nheight = " + std::to_string(height) + "\n" +
                                                   moreSettings);
        const fs::path built = fs::current_path() / "assets";
        for (const char* folder : {"fonts", "models", "shader", "sounds", "textures"})
            fs::create_directory_symlink(built / folder, directory.path() / "assets" / folder);
        inside = std::make_unique<zarn::test::WorkingDirectory>(directory.path());
        // Best times and the player's settings live in the test's own folder;
        // sound goes to OpenAL's silent output.
        setenv("XDG_DATA_HOME", (directory.path() / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (directory.path() / "config").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        // Particles start from the same random numbers whichever test ran before.
        std::srand(1);
        setParticleRandomState(particleRandomSeed);
        output = zarn::test::captureStdout([&] {
            app.startUp([this](GLFWwindow* window) {
                Platform platform;
                platform.seconds = [this] {
                    return seconds;
                };
                platform.pollEvents = [this, window](double waitSeconds) {
                    waits.push_back(waitSeconds);
                    for (auto& event : pendingEvents)
                        event(window);
                    pendingEvents.clear();
                };
                platform.cursorPosition = [this](double& x, double& y) {
                    x = cursorX;
                    y = cursorY;
                };
                platform.windowSize = [this](int& w, int& h) {
                    w = width, h = height;
                };
                platform.framebufferSize = [this](int& w, int& h) {
                    w = width * pixelsPerUnit, h = height * pixelsPerUnit;
                };
                platform.swapBuffers = [this, window] {
                    ++swaps;
                    if (readBack)
                        pixels = zarn::test::readPixels(0, 0, width, height);
                    glfwSwapBuffers(window);
                };
                return platform;
            });
        });
        started = true;
        // Whatever the application still holds after its teardown must not
        // reach for the context when the fixture destroys it.
        zarn::test::trapGLCallsWithoutContext();
    }
    void SetUp() override { start(800, 800); }
    void TearDown() override {
        if (started)
            app.tearDown();
        inside.reset();
    }

    GameSession& session() { return app.session(); }

    // Only the last frame is read back, for the checks that follow. The
    // events of every frame are kept.
    void runFrames(int count, double secondsPerFrame = 0.0) {
        for (int i = 0; i < count; ++i) {
            readBack = i + 1 == count;
            output += zarn::test::captureStdout([&] { runFrame(app); });
            events.insert(events.end(), app.frameEvents().begin(), app.frameEvents().end());
            seconds += secondsPerFrame;
        }
    }

    void releaseKey(int key) {
        pendingEvents.push_back([key](GLFWwindow* w) { onKey(w, key, 0, GLFW_RELEASE, 0); });
    }
    void mouse(int button, int action) {
        pendingEvents.push_back(
            [button, action](GLFWwindow* w) { onMouseButton(w, button, action, 0); });
    }
    void moveCursor(double x, double y) {
        cursorX = x, cursorY = y;
        pendingEvents.push_back([x, y](GLFWwindow* w) { onCursorPosition(w, x, y); });
    }

    // Turns the eye to about (yaw, pitch) around the cube with a right-drag.
    void look(float yaw, float pitch) {
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
        runFrames(1);
        moveCursor(cursorX + std::round((yaw - app.camera().yaw) / cameraRadiansPerPixel),
                   cursorY + std::round((pitch - app.camera().pitch) / cameraRadiansPerPixel));
        runFrames(1);
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
        runFrames(1);
    }
    // Window pixel (x right, y up) where the camera shows a world point now.
    glm::vec2 screenOf(const glm::vec3& point) {
        const glm::vec4 clip = app.camera().viewProjection() * glm::vec4(point, 1.0f);
        return {(clip.x / clip.w * 0.5f + 0.5f) * float(width),
                (clip.y / clip.w * 0.5f + 0.5f) * float(height)};
    }
    // A press in one frame and the release in the next, settleSeconds later.
    void clickAt(const glm::vec3& point, double settleSeconds = 0.0) {
        const glm::vec2 at = screenOf(point);
        moveCursor(at.x, double(height) - at.y);
        mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
        runFrames(1, settleSeconds);
        mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
        runFrames(1);
    }

    // Pixels of the last frame in [x0, x1) x [y0, y1), bottom-left origin, that match.
    int count(int x0, int y0, int x1, int y1, bool (*match)(const std::uint8_t*)) const {
        int found = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                found += match(&pixels[(std::size_t(y) * std::size_t(width) + x) * 4]) ? 1 : 0;
        return found;
    }

    zarn::test::TempDirectory directory;
    std::unique_ptr<zarn::test::WorkingDirectory> inside;
    Application app;
    bool started = false;
    int width = 0, height = 0;
    int pixelsPerUnit = 1; // framebuffer pixels per window pixel
    double seconds = 0.0;
    double cursorX = 400.0, cursorY = 400.0;
    std::vector<std::function<void(GLFWwindow*)>> pendingEvents;
    std::vector<std::uint8_t> pixels;
    std::vector<GameEvent> events;
    std::vector<double> waits; // each event poll's longest sleep
    int swaps = 0;
    bool readBack = true;
    std::string output;
};

} // namespace

TEST_F(ApplicationGLTest, TheFirstFrameShowsTheHudLightsAndCameraAndLeavesTheStateAsFound) {
    seconds = 2.0;
    runFrames(1);
    EXPECT_EQ(session().remainingSeconds(), 298) << "the loading time counts";
    EXPECT_GT(count(10, 5, 100, 40, grey), 40);   // "Help: F1"
    EXPECT_GT(count(550, 5, 790, 40, grey), 100); // "Remaining time: 4:58"
    EXPECT_EQ(count(110, 0, 540, 60, grey), 0);
    // The overlay leaves the state the next frame's 3D passes expect.
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 4) << "the default antialiasing";

    // Start-up lights the four lit programs; every frame hands the camera to
    // the programs (the sky sets its own matrix when it draws).
    const Renderer& renderer = app.renderer();
    for (const Program which : litPrograms) {
        const GLuint program = renderer.program(which)->programId;
        glm::vec3 direction(0.0f);
        glGetUniformfv(program, glGetUniformLocation(program, "Lights[0].posDir"),
                       glm::value_ptr(direction));
        EXPECT_EQ(direction, glm::vec3(0, -1, -1)) << programName(which);
    }
    look(0.5f, 0.3f);
    for (const Program which : {Program::ModelLoading, Program::PhongInstanced, Program::Particle,
                                Program::CelShadedInstanced, Program::ShadowMapped}) {
        const GLuint program = renderer.program(which)->programId;
        glm::mat4 actual(0.0f);
        glGetUniformfv(program, glGetUniformLocation(program, "viewProjMatrix"),
                       glm::value_ptr(actual));
        EXPECT_EQ(actual, app.camera().viewProjection()) << programName(which);
    }
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
}

TEST_F(ApplicationGLTest, KeysActOnReleaseToPauseShowHintsHelpAndStatisticsAndSetTheGlState) {
    // H frames the tile to click, the one left of the blank, and names the
    // move under the cube.
    runFrames(1);
    const glm::vec2 edge = screenOf(MovingTiles::slotPosition({1, 0}) + glm::vec3(0.5f, 0, 0.2f));
    const auto framed = [&] {
        return count(int(edge.x) - 6, int(edge.y) - 40, int(edge.x) + 6, int(edge.y) + 40, gold);
    };
    const int unframed = framed(), unnamed = count(250, 85, 550, 110, gold);
    releaseKey(GLFW_KEY_H);
    runFrames(1);
    EXPECT_GT(framed(), unframed + 300);
    EXPECT_GT(count(250, 85, 550, 110, gold), unnamed + 300);
    runFrames(1, hintSeconds);
    runFrames(1);
    EXPECT_EQ(framed(), unframed);

    pendingEvents.push_back([](GLFWwindow* w) {
        onKey(w, GLFW_KEY_P, 0, GLFW_PRESS, 0);
        onKey(w, GLFW_KEY_P, 0, GLFW_REPEAT, 0);
    });
    runFrames(1);
    EXPECT_FALSE(session().paused());
    const int left = count(220, 395, 400, 440, yellow), right = count(400, 395, 580, 440, yellow),
              outside = count(0, 395, 220, 440, yellow) + count(580, 395, 800, 440, yellow);
    releaseKey(GLFW_KEY_P);
    runFrames(1, 30.0);
    runFrames(1);
    EXPECT_TRUE(session().paused());
    EXPECT_EQ(session().remainingSeconds(), 297);
    // "Paused - press P", centred, in the middle of the window.
    EXPECT_GT(count(220, 395, 400, 440, yellow), left + 200);
    EXPECT_GT(count(400, 395, 580, 440, yellow), right + 200);
    EXPECT_LT(count(0, 395, 220, 440, yellow) + count(580, 395, 800, 440, yellow), outside + 50);
    // Paused, the loop sleeps in the event wait and draws only after input.
    const int shown = swaps;
    runFrames(3, 1.0);
    EXPECT_EQ(swaps, shown);
    EXPECT_EQ(waits.back(), restWaitSeconds);
    clickAt(MovingTiles::slotPosition({2, 1}));
    EXPECT_EQ(swaps, shown + 2);
    EXPECT_EQ(session().tiles().grid().tiles, startArrangement) << "a click while paused";
    releaseKey(GLFW_KEY_P);
    runFrames(1);
    EXPECT_FALSE(session().paused());
    EXPECT_EQ(count(220, 395, 400, 440, yellow), left);
    // Minimised (a framebuffer of no pixels), the game pauses and nothing is
    // drawn, the loop sleeping between looks; shown again, it goes on.
    const int remaining = session().remainingSeconds();
    pendingEvents.push_back([](GLFWwindow* w) { onIconify(w, GLFW_TRUE); });
    pixelsPerUnit = 0;
    runFrames(1, 1.0);
    const int hidden = swaps;
    runFrames(2, 1.0);
    EXPECT_EQ(swaps, hidden);
    EXPECT_EQ(waits.back(), restWaitSeconds);
    EXPECT_TRUE(session().paused());
    EXPECT_EQ(session().remainingSeconds(), remaining);
    pendingEvents.push_back([](GLFWwindow* w) { onIconify(w, GLFW_FALSE); });
    pixelsPerUnit = 1;
    runFrames(2, 1.0);
    EXPECT_EQ(swaps, hidden + 2);
    EXPECT_EQ(waits.back(), 0.0);
    EXPECT_FALSE(session().paused());
    EXPECT_LT(session().remainingSeconds(), remaining);
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
    // Losing the focus pauses; gaining it does not resume.
    pendingEvents.push_back([](GLFWwindow* w) {
        onFocus(w, GLFW_TRUE);
        onFocus(w, GLFW_FALSE);
        onFocus(w, GLFW_TRUE);
    });
    runFrames(1);
    EXPECT_TRUE(session().paused());

    releaseKey(GLFW_KEY_M);
    runFrames(1);
    EXPECT_TRUE(app.sound().muted());
    releaseKey(GLFW_KEY_F7);
    runFrames(1);
    EXPECT_GT(count(10, 760, 120, 795, grey), 40); // "FPS: 0" at the top left
    EXPECT_GT(count(130, 5, 220, 40, grey), 40);   // "Puzzles solved: 0" is longer than "Help: F1"
    EXPECT_GT(count(10, 40, 90, 60, grey), 40);    // "Hints: 1"
    releaseKey(GLFW_KEY_F7);
    releaseKey(GLFW_KEY_F1);
    runFrames(1);
    EXPECT_GT(app.renderer().hud().text.hudWidth, 0) << "the help image is missing";
    EXPECT_EQ(count(10, 5, 95, 40, grey), 0);

    GLint mode[2] = {};
    releaseKey(GLFW_KEY_F5);
    releaseKey(GLFW_KEY_F6);
    runFrames(1);
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    releaseKey(GLFW_KEY_F5);
    releaseKey(GLFW_KEY_F6);
    runFrames(1);
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));

    int frames = 0;
    app.platform().pollEvents = [&](double) {
        if (++frames == 3) {
            onKey(app.window(), GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
            onKey(app.window(), GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
        }
    };
    runFrameLoop(app);
    EXPECT_EQ(frames, 3);
}

// A press that comes in the frame in which the cursor moved turns the view
// only by what the cursor does after it; the wheel keeps the eye between
// its limits, and a click still lands from the farthest.
TEST_F(ApplicationGLTest, TheViewTurnsFromWhereTheDragStartsAndZoomsWithinReachOfAClick) {
    runFrames(1);
    moveCursor(500, 400);
    mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    runFrames(1);
    EXPECT_EQ(app.camera().yaw, 0.0f);
    moveCursor(540, 360);
    runFrames(1);
    EXPECT_FLOAT_EQ(app.camera().yaw, 0.2f);
    EXPECT_FLOAT_EQ(app.camera().pitch, -0.2f);
    mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
    moveCursor(400, 400);
    runFrames(1);
    EXPECT_FLOAT_EQ(app.camera().yaw, 0.2f);

    for (int step = 0; step < 20; ++step)
        pendingEvents.push_back([](GLFWwindow* w) { onScroll(w, 0.0, 1.0); });
    runFrames(1);
    EXPECT_EQ(app.input().cameraDistance, cameraMinDistance);
    for (int step = 0; step < 40; ++step)
        pendingEvents.push_back([](GLFWwindow* w) { onScroll(w, 0.0, -1.0); });
    look(0.0f, 0.0f);
    EXPECT_EQ(app.input().cameraDistance, cameraMaxDistance);
    clickAt(MovingTiles::slotPosition({2, 1}));
    EXPECT_EQ(session().tiles().grid().tiles[2][0], 0) << "the click fell short";

    // A click is a press seen between two polls: a press and release within
    // one poll is none, and a held button clicks once.
    look(-1.5707964f, 0.0f);
    const glm::vec2 cell = screenOf(flowCellCentre(0));
    moveCursor(cell.x, double(height) - cell.y);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    runFrames(3);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    runFrames(1);
    EXPECT_EQ(session().flow().cells[0], 1);
}

// Tests that run many frames and look at few pixels.
// The starting view and each face, at 800 x 800 with 4x MSAA, against the
// images in tests/app/golden; ZARN_UPDATE_GOLDEN=1 takes them anew. Where a
// view differs, the frame is written to the build folder beside the test.
TEST_F(ApplicationGLTest, EachViewLooksAsItsGoldenImage) {
    struct View {
        const char* name;
        float yaw, pitch;
    };
    const View views[] = {{"front", 0.0f, 0.0f},       {"river", 1.5707964f, 0.0f},
                          {"flow", -1.5707964f, 0.0f}, {"back", 3.1415927f, 0.0f},
                          {"top", 0.0f, 1.5f},         {"bottom", 0.0f, -1.5f},
                          {"three_faces", 0.6f, 0.45f}};
    runFrames(30, 1.0 / 30.0); // the fountains rise
    const bool update = std::getenv("ZARN_UPDATE_GOLDEN") != nullptr;
    stbi_flip_vertically_on_write(1);
    for (const View& view : views) {
        look(view.yaw, view.pitch);
        const std::string golden = std::string(ZARN_GOLDEN_DIR "/") + view.name + ".png";
        if (update) {
            EXPECT_TRUE(
                stbi_write_png(golden.c_str(), width, height, 3, rgb(pixels).data(), width * 3));
            continue;
        }
        int w = 0, h = 0, channels = 0;
        stbi_set_flip_vertically_on_load(1);
        const std::unique_ptr<stbi_uc, void (*)(void*)> expected(
            stbi_load(golden.c_str(), &w, &h, &channels, 3), stbi_image_free);
        ASSERT_TRUE(expected && w == width && h == height) << golden;
        // A pixel differs when a channel moves by more than a rounding step.
        int differing = 0;
        for (std::size_t i = 0; i < std::size_t(width) * std::size_t(height); ++i)
            for (std::size_t c = 0; c < 3; ++c)
                if (std::abs(int(pixels[i * 4 + c]) - int(expected.get()[i * 3 + c])) > 24) {
                    ++differing;
                    break;
                }
        EXPECT_LE(differing, width * height / 1000)
            << view.name << ": " << differing << " pixels differ";
        if (differing > 0)
            stbi_write_png((std::string(ZARN_GOLDEN_OUTPUT "/") + view.name + ".png").c_str(),
                           width, height, 3, rgb(pixels).data(), width * 3);
    }
}

class SmallWindowGLTest : public ApplicationGLTest {
protected:
    // Without antialiasing, as a player without a graphics card might choose.
    void SetUp() override { start(320, 320, "[graphics]\nantialiasing = 0\n"); }
};

// The test finds the screen's directions itself from the camera, so a key
// that pushes the wrong way cannot pass for a right one.
// A resized window is drawn whole: the viewport (the shadow pass puts it
// back) and the projection follow, the countdown keeps to the right edge,
// and a click lands on the tile it is over, also where the framebuffer has
// twice the window's pixels.
TEST_F(SmallWindowGLTest, AResizedWindowIsDrawnWholeAndClickedTrue) {
    glfwSetWindowSize(app.window(), 480, 320);
    width = 480, height = 320;
    runFrames(2);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 480, 320}));
    EXPECT_FLOAT_EQ(app.camera().projection[1][1] / app.camera().projection[0][0], 1.5f);
    EXPECT_GT(count(380, 0, 480, 20, grey), 20) << "no countdown at the right edge";
    // The tile right of the blank slides into it.
    const auto moves = [&] {
        const TileArrangement before = session().tiles().grid().tiles;
        const TileSlot blank = findTile(before, blankTile);
        clickAt(MovingTiles::slotPosition({blank.row, blank.column + 1}), 0.5);
        return session().tiles().grid().tiles != before;
    };
    EXPECT_TRUE(moves());
    pixelsPerUnit = 2;
    runFrames(1);
    EXPECT_TRUE(moves()) << "a click on a scaled display missed";
}

TEST_F(SmallWindowGLTest, AnArrowKeyRollsTheBallTheWayTheScreenShows) {
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 0);
    look(0.0f, 0.9f);
    runFrames(60, 1.0 / 60.0); // onto its platform
    const glm::vec2 start = screenOf(session().ball().centre());
    releaseKey(GLFW_KEY_RIGHT);
    runFrames(20, 1.0 / 60.0);
    const glm::vec2 right = screenOf(session().ball().centre()) - start;
    EXPECT_GT(right.x, 6.0f);
    EXPECT_LT(std::abs(right.y), right.x * 0.5f);

    releaseKey(GLFW_KEY_BACKSPACE);
    runFrames(60, 1.0 / 60.0);
    releaseKey(GLFW_KEY_DOWN);
    runFrames(20, 1.0 / 60.0);
    const glm::vec2 down = screenOf(session().ball().centre()) - start;
    EXPECT_LT(down.y, -6.0f);
    EXPECT_LT(std::abs(down.x), -down.y * 0.5f);
}

// Nothing of an old game survives a new one: fifty of them leave the memory,
// the GL objects and the physics bodies as they were.
// A player's key press during the demo ends it: a fresh game starts from
// the starting view, and the key's release does nothing more.
TEST_F(SmallWindowGLTest, AKeyDuringTheDemoStartsAFreshGameForThePlayer) {
    app.startDemo();
    for (int frame = 0; frame < 60 * 5 && session().tiles().grid().tiles == startArrangement;
         ++frame)
        runFrames(1, 1.0 / 60.0);
    ASSERT_NE(session().tiles().grid().tiles, startArrangement) << "the demo did not play";
    moveCursor(10.0, 10.0); // the player's cursor is the player's own: it does nothing
    runFrames(1, 1.0 / 60.0);
    EXPECT_NE(app.demo(), nullptr);
    pendingEvents.push_back([](GLFWwindow* w) { onKey(w, GLFW_KEY_P, 0, GLFW_PRESS, 0); });
    runFrames(1, 1.0);
    EXPECT_EQ(app.demo(), nullptr);
    EXPECT_EQ(session().tiles().grid().tiles, startArrangement);
    EXPECT_EQ(session().remainingSeconds(), 300);
    EXPECT_EQ(app.camera().yaw, 0.0f);
    releaseKey(GLFW_KEY_P);
    runFrames(1);
    EXPECT_FALSE(session().paused()) << "the key that ended the demo acted";
    releaseKey(GLFW_KEY_P);
    runFrames(1);
    EXPECT_TRUE(session().paused());
}

TEST_F(SmallWindowGLTest, PlayAgainStartsOverFiftyTimesWithoutGrowing) {
    look(0.4f, 0.2f);
    pendingEvents.push_back([](GLFWwindow* w) { onScroll(w, 0.0, 2.0); });
    clickAt(MovingTiles::slotPosition({2, 1}));
    releaseKey(GLFW_KEY_ENTER); // only on the win or time-up screen
    runFrames(1, 20.0);
    EXPECT_NE(session().tiles().grid().tiles, startArrangement);

    releaseKey(GLFW_KEY_R);
    runFrames(2);
    EXPECT_EQ(session().tiles().grid().tiles, startArrangement);
    EXPECT_EQ(session().remainingSeconds(), 300);
    EXPECT_EQ(app.camera().yaw, 0.0f);
    EXPECT_EQ(app.camera().pitch, 0.0f);
    EXPECT_EQ(app.input().cameraDistance, cameraStartDistance);

    // Each game colours a flow cell, which gives the cell an emitter.
    const auto playOnce = [&](int game) {
        releaseKey(GLFW_KEY_R);
        runFrames(1, 0.1);
        const int cell = (game * 7) % 25;
        session().click({flowCellCentre(cell) + glm::vec3(4, 0, 0), {-1, 0, 0}});
        runFrames(1, 0.1);
    };
    for (int game = 0; game < 5; ++game)
        playOnce(game);
    const long memory = residentBytes();
    const int objects = zarn::test::liveGLObjects();
    const int bodies = session().physics().bodyCount();
    for (int game = 0; game < 50; ++game)
        playOnce(game);
    EXPECT_EQ(zarn::test::liveGLObjects(), objects);
    EXPECT_EQ(session().physics().bodyCount(), bodies);
    EXPECT_LT(std::abs(double(residentBytes() - memory)), 0.02 * double(memory))
        << "from " << memory << " to " << residentBytes();
}

// In a window wider than high the texts stand at half its height and clicks
// land where the wide view shows things.
class WideWindowGLTest : public ApplicationGLTest {
protected:
    void SetUp() override { start(1200, 600); }
};

TEST_F(WideWindowGLTest, TheRiversMessageAndTheEndTextsStandAtHalfTheHeight) {
    look(1.5707964f, 0.0f);                               // the river side
    clickAt(RiverCrossingGame::target(0, 0).centre, 0.6); // the bear boards
    clickAt(RiverCrossingGame::target(1, 1).centre);      // and crosses
    ASSERT_EQ(session().river().rules().message, "The rabbit ate the carrot!");
    // "The rabbit ate the carrot!" starts at (180, 300), in red.
    EXPECT_GT(count(180, 295, 700, 330, red), 300);
    runFrames(1, 2.9);
    runFrames(1);
    EXPECT_GT(count(180, 295, 700, 330, red), 300);
    runFrames(1, 0.2);
    runFrames(1);
    EXPECT_LT(count(180, 295, 700, 330, red), 50) << "the message stayed";

    seconds = 301.0;
    runFrames(2);
    EXPECT_EQ(session().state(), GameState::TimeUp);
    EXPECT_GT(count(180, 295, 700, 330, red), 300); // "Time is up, try again"
    EXPECT_GT(count(850, 5, 1190, 40, grey), 100);  // the grey countdown over the red one
    releaseKey(GLFW_KEY_ENTER);
    runFrames(1);
    EXPECT_EQ(session().state(), GameState::Running);
    EXPECT_EQ(session().remainingSeconds(), 300);
}

// The whole game in a small window, as a player plays it, turning the view
// by right-drags: the tiles, the river and the flow board by clicks, the
// ball by arrow keys alone; each solved item counts and slides its panel
// piece out, and the red button, pressed once all four are solved, wins.
class WholeGameGLTest : public ApplicationGLTest {
protected:
    void SetUp() override {
        // ZARN_WIN_SCREENSHOT names a PNG to write the win screen to, in a
        // full-size window; the test itself plays in a small one.
        shotFile = std::getenv("ZARN_WIN_SCREENSHOT");
        start(shotFile ? 800 : 320, shotFile ? 800 : 320);
    }
    const char* shotFile = nullptr;
};

// The demo's player wins the game through the game's own input, as it does
// in `zarn --demo`; played here outside the demo, the win is recorded.
TEST_F(WholeGameGLTest, TheDemoPlayerWinsTheWholeGame) {
    DemoPlayer player;
    int frames = 0;
    const auto playUntil = [&](const std::function<bool()>& done, int most = 60 * 240) {
        for (int limit = frames + most; frames < limit && !done(); ++frames) {
            pendingEvents.push_back([&](GLFWwindow*) {
                player.play(app);
                cursorX = player.cursor().x, cursorY = player.cursor().y;
            });
            runFrames(1, 1.0 / 60.0);
        }
        return done();
    };
    ASSERT_TRUE(playUntil([&] { return session().solvedCount() == 3; }));
    EXPECT_TRUE(session().solved(Puzzle::Tiles) && session().solved(Puzzle::River) &&
                session().solved(Puzzle::Flow));
    ASSERT_TRUE(playUntil([&] { return session().ball().solved(); }))
        << "the ball is at " << session().ball().centre().x << ", " << session().ball().centre().z;
    EXPECT_EQ(session().solvedCount(), 4);
    releaseKey(GLFW_KEY_BACKSPACE); // a solved maze keeps its ball
    runFrames(1);
    EXPECT_GT(session().ball().centre().x, 1.0f);

    ASSERT_TRUE(playUntil([&] { return session().state() == GameState::Won; }));
    EXPECT_EQ(session().solvedCount(), 5);
    const int frozenAt = session().remainingSeconds();
    const double wonAt = seconds;
    EXPECT_LT(wonAt, 200.0) << "a win with little time to spare";
    // The demo turns to the open lock and stays.
    playUntil([] { return false; }, 3 * 60);
    EXPECT_NEAR(app.camera().yaw, 3.1415927f, 0.01f);
    EXPECT_EQ(session().state(), GameState::Won);
    EXPECT_EQ(session().remainingSeconds(), frozenAt) << "the countdown stops";
    // "You saved the world" starts at (180, height / 2), in green; a first
    // win is the best time, in smaller letters under it, and kept on disk.
    EXPECT_GT(count(180, height / 2 - 5, width, height / 2 + 15, green), 100) << "no win text";
    EXPECT_GT(count(180, height * 17 / 40 - 4, width, height / 2 - 8, green), 20) << "no best time";
    EXPECT_EQ(app.records().wins(), 1);
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "data/zarn/records.ini"));

    // After the win nothing moves but the panel: the ball takes no push.
    const glm::mat4 ball = session().ball().pose();
    releaseKey(GLFW_KEY_UP);
    releaseKey(GLFW_KEY_UP);
    runFrames(4, 5.0);
    EXPECT_EQ(session().ball().pose(), ball);
    for (int number = 1; number <= 5; ++number)
        EXPECT_EQ(session().panel().piecePose(number), PentagonPanel::pushedPose)
            << "piece " << number;

    // Each puzzle solved once, each piece out once, one win.
    std::map<Kind, int> seen;
    for (const GameEvent& event : events)
        ++seen[event.kind];
    EXPECT_EQ(seen[Kind::PuzzleSolved], 4);
    EXPECT_EQ(seen[Kind::PanelPieceOut], 5);
    EXPECT_EQ(seen[Kind::Won], 1);
    EXPECT_EQ(seen[Kind::ButtonPressed], 1);
    std::cout << "The game was won after " << wonAt << " s of game time, " << frames << " frames."
              << std::endl;

    if (shotFile) { // the open lock on the back, under the win text
        runFrames(1);
        stbi_flip_vertically_on_write(1);
        EXPECT_TRUE(stbi_write_png(shotFile, width, height, 4, pixels.data(), width * 4));
    }
    releaseKey(GLFW_KEY_ENTER);
    runFrames(1);
    EXPECT_EQ(session().solvedCount(), 0);
}
