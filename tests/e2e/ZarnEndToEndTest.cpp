#include "GameProcess.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image.h>

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

// A working directory whose "assets" links to the built tree, except for a
// copy of the shaders so that a test can remove one.
class GameDirectory {
public:
    GameDirectory() {
        const fs::path assets = directory.path() / "assets";
        fs::create_directories(assets);
        for (const char* name : {"fonts", "models", "textures"})
            fs::create_directory_symlink(fs::path(ZARN_ASSET_DIR) / name, assets / name);
        fs::copy(fs::path(ZARN_ASSET_DIR) / "shader", assets / "shader");
    }
    fs::path path() const { return directory.path(); }
    void writeSettings(const std::string& text) const {
        directory.write("assets/settings.ini", text);
    }

private:
    TempDirectory directory;
};

bool grey(const unsigned char* p) {
    return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] > 60 && p[0] < 200;
}
// Sky and sea of the sky box are both clearly blue (clouds aside).
bool skyBlue(const unsigned char* p) {
    return p[2] > p[0] + 40 && p[2] > 120;
}
// The frame's front face mirrors the sky in deep blue, darker than sky or sea.
bool frameFace(const unsigned char* p) {
    return p[0] < 40 && p[1] < 100 && p[2] > 70;
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

void sendKey(unsigned long window, const std::string& key) {
    runCommand("xdotool windowfocus --sync " + std::to_string(window) + " key " + key);
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

TEST(ZarnEndToEndTest, MissingShaderFileEndsWithStatusOneWithoutWaiting) {
    GameDirectory directory;
    fs::remove(directory.path() / "assets/shader/particleShader.frag");
    GameProcess game(ZARN_BINARY, directory.path());
    EXPECT_EQ(game.waitForExit(20.0), std::optional<int>(1)) << "the game is waiting";
    const std::string output = game.output();
    EXPECT_NE(output.find("Couldn't open shader file: assets/shader/particleShader.frag\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("Press Enter"), std::string::npos);
}

// A window wider than high: the sky fills all of it around the frame, and the
// countdown stays inside.
TEST(ZarnEndToEndTest, WideWindowShowsTheSkyAroundTheFrameAndTheCountdownInside) {
    GameDirectory directory;
    directory.writeSettings("[window]\nwidth = 1024\nheight = 640\n");
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();

    // The countdown starts at 1024 - 1024 / 800 * 250 = 704.
    const auto countdownShown = [](const Screenshot& s) {
        return s.width == 1024 && countPixels(s, 704, 4, 1020, 30, grey) > 80;
    };
    const Screenshot shot = waitForScreen(window, countdownShown);
    ASSERT_TRUE(countdownShown(shot)) << "no countdown at the bottom right";
    // Mostly sky in each corner; a cloud may cover part of one.
    for (const auto& [x, y] : {std::pair{0, 40}, {984, 40}, {0, 600}, {984, 600}})
        EXPECT_GT(countPixels(shot, x, y, x + 40, y + 40, skyBlue), 40 * 40 / 2)
            << "no sky at " << x << ", " << y;
    EXPECT_GT(countPixels(shot, 412, 220, 612, 420, frameFace), 200 * 200 * 9 / 10)
        << "no frame at the centre";

    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    const std::string output = game.output();
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_EQ(output.find("OpenGL Error: "), std::string::npos) << output;
}
