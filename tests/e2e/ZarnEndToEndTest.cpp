#include "GameDirectory.h"
#include "GameProcess.h"

#include "app/Camera.h"
#include "puzzles/MovingTiles.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <stb_image.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

bool grey(const unsigned char* p) {
    return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] > 60 && p[0] < 200;
}
// Sky and sea of the sky box are both clearly blue (clouds aside).
bool skyBlue(const unsigned char* p) {
    return p[2] > p[0] + 40 && p[2] > 120;
}
bool green(const unsigned char* p) {
    return p[1] > 200 && p[1] - p[0] > 50 && p[1] - p[2] > 50;
}

int countPixels(const Screenshot& shot, int x0, int y0, int x1, int y1,
                bool (*match)(const unsigned char*)) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += match(shot.at(x, y)) ? 1 : 0;
    return count;
}

// Takes screenshots until the condition holds; the first frames may still be
// on their way to the X server.
Screenshot waitForScreen(unsigned long window, const std::function<bool(const Screenshot&)>& done) {
    Screenshot shot;
    waitUntil(10.0, [&] {
        shot = captureWindow(window);
        return shot.width > 0 && done(shot);
    });
    return shot;
}

// Grey text near (10, 10) and (550, 10).
bool hudShown(const Screenshot& shot) {
    return countPixels(shot, 10, 5, 100, 40, grey) > 40 &&
           countPixels(shot, 550, 5, 790, 40, grey) > 100;
}

// xdotool steps inside the window, a short pause after each, so that the
// game's frames see every press, move and release.
void mouseSteps(unsigned long window, const std::vector<std::string>& steps) {
    std::string command = "xdotool";
    for (const std::string& step : steps) {
        const bool move = step.rfind("mousemove", 0) == 0;
        command += " " +
                   (move ? "mousemove --window " + std::to_string(window) + step.substr(9) : step) +
                   " sleep 0.1";
    }
    runCommand(command);
}

// Turns the camera with a right-drag of (dx, dy) pixels from the centre of the
// 800 x 800 window, in ten moves.
void rightDrag(unsigned long window, int dx, int dy) {
    // The camera turns by the cursor's travel between frames while the button
    // is down: the move to the start must be seen in a frame before the press.
    std::vector<std::string> drag = {"mousemove 400 400", "sleep 0.5", "mousedown 3"};
    for (int step = 1; step <= 10; ++step)
        drag.push_back("mousemove " + std::to_string(400 + dx * step / 10) + " " +
                       std::to_string(400 + dy * step / 10));
    // A slow frame must see the last move while the button is still down.
    drag.push_back("sleep 0.4");
    drag.push_back("mouseup 3");
    mouseSteps(window, drag);
}

// Where the game's camera, turned by that drag, shows a point of the world in
// a window of the size given, in pixels from the bottom left.
std::pair<int, int> shownAt(int dx, int dy, const glm::vec3& point, int width = 800,
                            int height = 800) {
    zarn::InputState input;
    zarn::Camera camera(60.0f, float(width) / float(height), 0.1f, 100.0f, input);
    input.rightMouseDown = true;
    camera.update(0, 0);
    camera.update(dx, dy);
    const glm::vec4 clip = camera.viewProjection() * glm::vec4(point, 1.0f);
    return {int((clip.x / clip.w * 0.5f + 0.5f) * float(width)),
            int((clip.y / clip.w * 0.5f + 0.5f) * float(height))};
}

// Sum of absolute channel differences between two shots over a box.
int difference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1) {
    int total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                total += std::abs(a.at(x, y)[c] - b.at(x, y)[c]);
    return total;
}

} // namespace

// Without a settings file the game says so and opens its default window.
TEST(ZarnEndToEndTest, DefaultWindowShowsTheHudTogglesHelpAndQuitsOnEscape) {
    GameDirectory directory;
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    const std::string id = std::to_string(window);
    EXPECT_EQ(runCommand("xdotool getwindowname " + id), "Zarn\n");
    EXPECT_EQ(
        runCommand("xdotool getwindowgeometry --shell " + id + " | grep -E '^(WIDTH|HEIGHT)='"),
        "WIDTH=800\nHEIGHT=800\n");

    const Screenshot hud = waitForScreen(window, hudShown);
    ASSERT_EQ(hud.width, 800);
    EXPECT_TRUE(hudShown(hud));

    // The help image replaces "Help: F1" at (100, 100) with its own pixels.
    int width = 0, height = 0, channels = 0;
    unsigned char* help =
        stbi_load((fs::path(ZARN_ASSET_DIR) / "textures/hud_controls.png").c_str(), &width, &height,
                  &channels, 3);
    ASSERT_NE(help, nullptr) << "the help image was not generated";
    const auto matchesHelp = [&](const Screenshot& s) {
        for (int y = 2; y < height - 2; y += 23)
            for (int x = 2; x < width - 2; x += 29)
                for (int c = 0; c < 3; ++c)
                    if (std::abs(help[(std::size_t(y) * width + x) * 3 + c] -
                                 s.at(100 + x, 100 + height - 1 - y)[c]) > 6)
                        return false;
        return true;
    };
    sendKey(window, "F1");
    const Screenshot withHelp = waitForScreen(window, matchesHelp);
    EXPECT_TRUE(matchesHelp(withHelp)) << "help image not at (100, 100)";
    EXPECT_EQ(countPixels(withHelp, 10, 5, 95, 40, grey), 0) << "Help: F1 still shown";
    stbi_image_free(help);

    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    const std::string output = game.output();
    EXPECT_EQ(output.rfind("ERROR: Failed to load 'assets/settings.ini'. Using default values "
                           "instead.\n",
                           0),
              0u)
        << output;
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
    // The physics world is released last, before the window system.
    EXPECT_GE(output.size(), 14u);
    EXPECT_EQ(output.substr(output.size() - 14), "Physics done.\n") << output;
}

// The options answer without opening a window; an unknown one is named.
TEST(ZarnEndToEndTest, OptionsAnswerAndEndWithoutAWindow) {
    EXPECT_EQ(runCommand(std::string(ZARN_BINARY) + " --version").rfind("Zarn ", 0), 0u);
    EXPECT_NE(runCommand(std::string(ZARN_BINARY) + " --help").find("Usage: zarn [--demo]"),
              std::string::npos);
    EXPECT_EQ(runCommand(std::string(ZARN_BINARY) + " --demos; echo status $?"),
              "Unknown option '--demos'. Try 'zarn --help'.\nstatus 1\n");

    // A copy of the binary far from any run-time tree names where it looked.
    TempDirectory directory;
    fs::copy_file(ZARN_BINARY, directory.path() / "zarn");
    const std::string alone =
        runCommand("env -u ZARN_DATA '" + (directory.path() / "zarn").string() +
                   "' --data /nowhere < /dev/null; echo status $?");
    EXPECT_EQ(
        alone.rfind("ERROR: The game's data folder is in none of these places:\n  /nowhere\n  " +
                        (directory.path() / "assets").string() + "\n",
                    0),
        0u)
        << alone;
    EXPECT_NE(alone.find("Start zarn with --data <folder> or set ZARN_DATA.\nstatus 1\n"),
              std::string::npos)
        << alone;
}

// GLFW would assert on a negative width: the game stops before it.
TEST(ZarnEndToEndTest, WindowSizeNoWindowCanTakeEndsWithStatusOne) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = -5\n");
    GameProcess game(ZARN_BINARY, directory.path());
    EXPECT_EQ(game.waitForExit(20.0), std::optional<int>(1));
    EXPECT_EQ(game.output(), "ERROR: Invalid window size -5 x 800 in 'assets/settings.ini'. "
                             "Width and height must be 1 to 16384.\n");
}

// As a player would: turn to the river with a right-drag, click the rabbit,
// which walks into the boat, and ask for the solved count with F7.
TEST(ZarnEndToEndTest, ARightDragTurnsToTheRiverWhereAClickBoardsTheRabbit) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = 800\nheight = 800\n");
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    waitForScreen(window, hudShown);

    // 314 pixels to the right turn the eye by 1.57 rad towards -x.
    rightDrag(window, 314, 0);
    // Where the rabbit stands on the start bank.
    const auto [x, y] = shownAt(314, 0, {-1.85f, 0.0f, -1.0f});
    Screenshot before;
    waitUntil(5.0, [&] {
        before = captureWindow(window);
        return before.width == 800 &&
               countPixels(before, x - 20, y - 20, x + 20, y + 20, skyBlue) == 0;
    });

    mouseSteps(window, {"mousemove " + std::to_string(x) + " " + std::to_string(800 - y),
                        "mousedown 1", "sleep 0.4", "mouseup 1"});
    const Screenshot after = waitForScreen(window, [&](const Screenshot& shot) {
        return difference(before, shot, x - 30, y - 30, x + 30, y + 30) > 40 * 255;
    });
    EXPECT_GT(difference(before, after, x - 30, y - 30, x + 30, y + 30), 40 * 255)
        << "the rabbit did not leave its spot";

    sendKey(window, "F7");
    const Screenshot stats = waitForScreen(window, [](const Screenshot& shot) {
        return countPixels(shot, 130, 5, 220, 40, grey) > 40; // "Puzzles solved: 0"
    });
    EXPECT_GT(countPixels(stats, 130, 5, 220, 40, grey), 40);

    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    EXPECT_EQ(game.output().find("OpenGL Error: "), std::string::npos) << game.output();
}

// Resized to a wide and to a tall window, the sky fills every corner, the
// cube stays in the middle, the countdown inside, and a click on the tile
// beside the blank moves it; F11 goes full screen and back to that window.
TEST(ZarnEndToEndTest, TheWindowResizesAndGoesFullScreen) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = 800\nheight = 800\n[graphics]\nantialiasing = 0\n");
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    waitForScreen(window, hudShown);
    const std::string id = std::to_string(window);
    int column = 1; // of the tile right of the blank, in the bottom row
    for (const auto& [width, height] : {std::pair{1200, 700}, std::pair{500, 900}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        runCommand("xdotool windowsize " + id + " " + std::to_string(width) + " " +
                   std::to_string(height));
        const auto whole = [&](const Screenshot& shot) {
            const int m = 4, w = width - 1 - m, h = height - 1 - m;
            return shot.width == width && shot.height == height && skyBlue(shot.at(m, m)) &&
                   skyBlue(shot.at(w, m)) && skyBlue(shot.at(m, h)) && skyBlue(shot.at(w, h)) &&
                   !skyBlue(shot.at(width / 2, height / 2)) &&
                   countPixels(shot, width / 2, 2, width, 30, grey) > 40;
        };
        const Screenshot before = waitForScreen(window, whole);
        ASSERT_TRUE(whole(before)) << "sky, cube or countdown out of place";
        const auto [x, y] =
            shownAt(0, 0, zarn::MovingTiles::slotPosition({2, column}), width, height);
        mouseSteps(window, {"mousemove " + std::to_string(x) + " " + std::to_string(height - y),
                            "mousedown 1", "sleep 0.2", "mouseup 1"});
        const Screenshot after = waitForScreen(window, [&](const Screenshot& shot) {
            return difference(before, shot, x - 20, y - 20, x + 20, y + 20) > 40 * 255;
        });
        EXPECT_GT(difference(before, after, x - 20, y - 20, x + 20, y + 20), 40 * 255)
            << "the tile did not move";
        ++column;
    }

    const auto size = [&] {
        return runCommand("xdotool getwindowgeometry --shell " + id +
                          " | grep -E '^(WIDTH|HEIGHT)='");
    };
    sendKey(window, "F11");
    EXPECT_TRUE(waitUntil(5.0, [&] { return size() == "WIDTH=1280\nHEIGHT=1024\n"; })) << size();
    sendKey(window, "F11");
    EXPECT_TRUE(waitUntil(5.0, [&] { return size() == "WIDTH=500\nHEIGHT=900\n"; })) << size();
    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    EXPECT_EQ(game.output().find("OpenGL Error: "), std::string::npos) << game.output();
}

// Without an audio device the game says so once and plays silent; with
// OpenAL Soft's wave writer as the device, a click on the tile beside the
// blank is heard in the file it writes.
TEST(ZarnEndToEndTest, SoundIsOffWithoutADeviceAndHeardWithOne) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = 800\nheight = 800\n");
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    {
        GameProcess game(ZARN_BINARY, directory.path());
        const unsigned long window = findWindow(game.pid(), 20.0);
        ASSERT_NE(window, 0u) << game.output();
        waitForScreen(window, hudShown);
        sendKey(window, "Escape");
        EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
        EXPECT_EQ(game.output(), "Sound off: no audio device\nPhysics done.\n");
    }

    const fs::path heard = directory.path() / "heard.wav";
    std::ofstream(directory.path() / "alsoft.conf") << "[wave]\nfile = " << heard.string() << "\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (directory.path() / "alsoft.conf").c_str(), 1);
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    waitForScreen(window, hudShown);
    const auto [x, y] = shownAt(0, 0, zarn::MovingTiles::slotPosition({2, 1}));
    mouseSteps(window, {"mousemove " + std::to_string(x) + " " + std::to_string(800 - y),
                        "mousedown 1", "sleep 0.2", "mouseup 1", "sleep 1.0"});
    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    EXPECT_EQ(game.output(), "Physics done.\n");

    // The loudest tenth of a second of what was played.
    SF_INFO info{};
    SNDFILE* file = sf_open(heard.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << "no sound was written";
    std::vector<float> mix(std::size_t(info.frames * info.channels));
    sf_readf_float(file, mix.data(), info.frames);
    sf_close(file);
    const std::size_t stretch = std::size_t(info.samplerate / 10 * info.channels);
    double loudest = 0.0;
    for (std::size_t start = 0; start + stretch <= mix.size(); start += stretch) {
        double sum = 0.0;
        for (std::size_t k = start; k < start + stretch; ++k)
            sum += double(mix[k]) * mix[k];
        loudest = std::max(loudest, std::sqrt(sum / double(stretch)));
    }
    EXPECT_GT(info.frames, info.samplerate) << "less than a second of sound";
    EXPECT_GT(loudest, 0.005) << "the slide was not heard";
}

// zarn --demo plays the whole game to the win by itself, in a small window
// without antialiasing, and keeps no records; a key then gives the player a
// fresh game.
TEST(ZarnEndToEndTest, TheDemoWinsByItselfAndAKeyHandsOver) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = 400\nheight = 400\n[graphics]\nantialiasing = 0\n");
    setenv("XDG_DATA_HOME", (directory.path() / "data").c_str(), 1);
    GameProcess game(ZARN_BINARY, directory.path(), "--demo");
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    // "You saved the world" in green at half the height, from x = 180.
    const auto won = [](const Screenshot& shot) {
        return shot.width == 400 && countPixels(shot, 180, 195, 400, 215, green) > 60;
    };
    Screenshot shot;
    const bool wins = waitUntil(280.0, [&] {
        std::this_thread::sleep_for(std::chrono::seconds(2)); // a look now and then
        shot = captureWindow(window);
        return won(shot);
    });
    ASSERT_TRUE(wins) << game.output();
    EXPECT_FALSE(fs::exists(directory.path() / "data")) << "the demo kept records";

    sendKey(window, "space");
    EXPECT_FALSE(won(waitForScreen(window, [&](const Screenshot& s) { return !won(s); })));
    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    EXPECT_EQ(game.output().find("OpenGL Error: "), std::string::npos) << game.output();
}
