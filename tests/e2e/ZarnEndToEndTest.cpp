#include "GameProcess.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

// A working directory whose "assets" mirrors the built tree through links, so
// that a test can drop or replace single files without touching the build.
class GameDirectory {
public:
    GameDirectory() {
        const fs::path assets = directory.path() / "assets";
        fs::create_directories(assets);
        for (const auto& entry : fs::directory_iterator(ZARN_ASSET_DIR)) {
            const auto name = entry.path().filename();
            if (name == "shader") {
                fs::copy(entry.path(), assets / name, fs::copy_options::recursive);
            } else if (name != "settings.ini") {
                fs::create_directory_symlink(entry.path(), assets / name);
            }
        }
        fs::copy_file(fs::path(ZARN_ASSET_DIR) / "settings.ini", assets / "settings.ini");
    }

    fs::path path() const { return directory.path(); }

private:
    TempDirectory directory;
};

bool grey(const unsigned char* p) {
    return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] > 60 && p[0] < 200;
}
bool white(const unsigned char* p) {
    return p[0] > 245 && p[1] > 245 && p[2] > 245;
}

int countPixels(const Screenshot& shot, int x0, int y0, int x1, int y1,
                bool (*match)(const unsigned char*)) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += match(shot.at(x, y)) ? 1 : 0;
    return count;
}

// Takes screenshots until the condition holds or the time-out passes; the
// first frames may still be on their way to the X server.
Screenshot waitForScreen(unsigned long window, const std::function<bool(const Screenshot&)>& done,
                         double timeoutSeconds = 10.0) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    Screenshot shot;
    do {
        shot = captureWindow(window);
        if (shot.width > 0 && done(shot))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < deadline);
    return shot;
}

bool hudShown(const Screenshot& shot, int statusX) {
    return countPixels(shot, 10, 5, 100, 40, grey) > 40 &&
           countPixels(shot, statusX, 5, std::min(shot.width, statusX + 240), 40, grey) > 100;
}

std::string windowGeometry(unsigned long window) {
    return runCommand("xdotool getwindowgeometry --shell " + std::to_string(window) +
                      " | grep -E '^(WIDTH|HEIGHT)='");
}

void sendKey(unsigned long window, const std::string& key) {
    runCommand("xdotool windowfocus --sync " + std::to_string(window) + " key " + key);
}

bool hasOpenGlErrorLine(const std::string& output) {
    return output.rfind("OpenGL Error: ", 0) == 0 ||
           output.find("\nOpenGL Error: ") != std::string::npos;
}

} // namespace

TEST(ZarnEndToEndTest, ShowsTheHudOnWhiteTogglesHelpAndQuitsOnEscape) {
    GameDirectory directory;
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    EXPECT_EQ(runCommand("xdotool getwindowname " + std::to_string(window)), "Zarn\n");
    EXPECT_EQ(windowGeometry(window), "WIDTH=800\nHEIGHT=800\n");

    const Screenshot hud =
        waitForScreen(window, [](const Screenshot& s) { return hudShown(s, 550); });
    ASSERT_EQ(hud.width, 800);
    EXPECT_TRUE(hudShown(hud, 550)) << "no grey text near (10, 10) and (550, 10)";
    EXPECT_EQ(countPixels(hud, 0, 60, 800, 800, white), 800 * 740) << "background is not white";

    // The help image replaces "Help: F1" at (100, 100) with its own pixels.
    int width = 0, height = 0, channels = 0;
    unsigned char* help =
        stbi_load((fs::path(ZARN_ASSET_DIR) / "textures/hud_controls.png").c_str(), &width, &height,
                  &channels, 3);
    ASSERT_NE(help, nullptr) << "the help image was not generated";
    const auto matchesHelp = [&](const Screenshot& s) {
        for (int y = 2; y < height - 2; y += 23)
            for (int x = 2; x < width - 2; x += 29) {
                const unsigned char* expected = help + (std::size_t(y) * width + x) * 3;
                const unsigned char* actual = s.at(100 + x, 100 + height - 1 - y);
                for (int c = 0; c < 3; ++c)
                    if (std::abs(expected[c] - actual[c]) > 6)
                        return false;
            }
        return true;
    };
    sendKey(window, "F1");
    const Screenshot withHelp = waitForScreen(window, matchesHelp);
    EXPECT_TRUE(matchesHelp(withHelp)) << "help image not at (100, 100)";
    EXPECT_EQ(countPixels(withHelp, 10, 5, 95, 40, grey), 0) << "Help: F1 still shown";
    stbi_image_free(help);

    sendKey(window, "Escape");
    const auto status = game.waitForExit(10.0);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0);
    EXPECT_FALSE(hasOpenGlErrorLine(game.output())) << game.output();
}

TEST(ZarnEndToEndTest, MissingSettingsFileFallsBackToTheDefaults) {
    GameDirectory directory;
    fs::remove(directory.path() / "assets/settings.ini");
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    EXPECT_EQ(windowGeometry(window), "WIDTH=800\nHEIGHT=800\n");
    EXPECT_EQ(runCommand("xdotool getwindowname " + std::to_string(window)), "Zarn\n");
    sendKey(window, "Escape");
    ASSERT_EQ(game.waitForExit(10.0), std::optional<int>(0));
    EXPECT_EQ(game.output().rfind("ERROR: Failed to load 'assets/settings.ini'. Using default "
                                  "values instead.\n",
                                  0),
              0u)
        << game.output();
}

TEST(ZarnEndToEndTest, WindowSizeAndLayoutFollowTheSettings) {
    GameDirectory directory;
    std::ofstream(directory.path() / "assets/settings.ini")
        << "[window]\nwidth = 1000\nheight = 600\ntitle = Cube Test\n";
    GameProcess game(ZARN_BINARY, directory.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    EXPECT_EQ(windowGeometry(window), "WIDTH=1000\nHEIGHT=600\n");
    EXPECT_EQ(runCommand("xdotool getwindowname " + std::to_string(window)), "Cube Test\n");
    // The countdown starts at width - width / 800 * 250 = 687.5 and labels are
    // sized by the height.
    const Screenshot shot =
        waitForScreen(window, [](const Screenshot& s) { return hudShown(s, 688); });
    EXPECT_TRUE(hudShown(shot, 688));
    EXPECT_EQ(countPixels(shot, 600, 5, 684, 40, grey), 0);
    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
}

TEST(ZarnEndToEndTest, MissingShaderFileEndsWithStatusOneWithoutWaiting) {
    GameDirectory directory;
    fs::remove(directory.path() / "assets/shader/particleShader.frag");
    GameProcess game(ZARN_BINARY, directory.path());
    const auto status = game.waitForExit(20.0);
    ASSERT_TRUE(status.has_value()) << "the game is waiting instead of exiting";
    EXPECT_EQ(*status, 1);
    const std::string output = game.output();
    EXPECT_NE(output.find("Couldn't open shader file: assets/shader/particleShader.frag\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("Press Enter"), std::string::npos);
}
