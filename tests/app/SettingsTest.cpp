#include "app/Settings.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <tuple>

using zarn::loadSettings;
using zarn::Settings;
using zarn::windowSizeError;
using zarn::test::captureStdout;

namespace {

Settings loadText(const std::string& contents) {
    zarn::test::TempDirectory directory;
    return loadSettings(directory.write("settings.ini", contents).string());
}

} // namespace

TEST(SettingsTest, AMissingFileGivesTheDefaultsAndSaysSo) {
    Settings settings;
    const std::string printed = captureStdout([&] { settings = loadSettings("/nonexistent.ini"); });
    EXPECT_EQ(printed, "ERROR: Failed to load '/nonexistent.ini'. Using default values instead.\n");
    EXPECT_EQ(std::tuple(settings.width, settings.height, settings.refreshRate, settings.fullscreen,
                         settings.title, settings.fov, settings.nearPlane, settings.farPlane),
              std::tuple(800, 800, 60, false, "Zarn", 60.0f, 0.1f, 100.0f));
}

TEST(SettingsTest, EveryKeyIsReadFromItsSectionAndBigNumbersSaturate) {
    const Settings settings = loadText("[window]\nwidth = 1024\nheight = 640\nrefresh_rate = 75\n"
                                       "fullscreen = on\ntitle = Puzzle Cube\n"
                                       "[camera]\nfov = 45.5\nnear = 0.25\nfar = 1e3\n");
    EXPECT_EQ(std::tuple(settings.width, settings.height, settings.refreshRate, settings.fullscreen,
                         settings.title, settings.fov, settings.nearPlane, settings.farPlane),
              std::tuple(1024, 640, 75, true, "Puzzle Cube", 45.5f, 0.25f, 1000.0f));
    EXPECT_EQ(loadText("[camera]\nwidth = 1200\n").width, 800);
    // Beyond 32 bits a value saturates: 2^32 + 800 must not wrap to 800.
    EXPECT_EQ(loadText("[window]\nwidth = 0x100000320\n").width, INT_MAX);
    EXPECT_EQ(loadText("[window]\nheight = -4294967296\n").height, INT_MIN);
}

// A graphics or sound value off its list is named once and gives way to the
// default.
TEST(SettingsTest, GraphicsAndSoundValuesOffTheirListsKeepTheDefaults) {
    Settings settings = loadText("[graphics]\nantialiasing = 2\nshadow_map_size = 4096\n");
    EXPECT_EQ(std::pair(settings.antialiasing, settings.shadowMapSize), std::pair(2, 4096));
    EXPECT_EQ(loadText("[graphics]\nantialiasing = 0\n").antialiasing, 0);
    std::string printed = captureStdout(
        [&] { settings = loadText("[graphics]\nantialiasing = 3\nshadow_map_size = 1000\n"); });
    EXPECT_EQ(std::pair(settings.antialiasing, settings.shadowMapSize), std::pair(4, 1024));
    EXPECT_NE(printed.find("Invalid antialiasing = 3 in '"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Use 0, 2 or 4; using 4.\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Invalid shadow_map_size = 1000"), std::string::npos) << printed;
    for (const char* bad : {"high", "4x", "8", "-4", "8192", "128", "0x400"}) {
        printed = captureStdout([&] {
            settings = loadText(std::string("[graphics]\nantialiasing = ") + bad +
                                "\nshadow_map_size = " + bad + "\n");
        });
        EXPECT_EQ(std::pair(settings.antialiasing, settings.shadowMapSize), std::pair(4, 1024))
            << bad;
        EXPECT_NE(printed.find(std::string("antialiasing = ") + bad), std::string::npos) << bad;
    }

    settings = loadText("[sound]\nvolume = 0\nenabled = off\n");
    EXPECT_EQ(std::pair(settings.volume, settings.sound), std::pair(0, false));
    printed = captureStdout([&] { settings = loadText("[sound]\nvolume = 100\n"); });
    EXPECT_EQ(std::pair(settings.volume, settings.sound), std::pair(100, true));
    EXPECT_EQ(printed, "");
    printed =
        captureStdout([&] { settings = loadText("[sound]\nvolume = 101\nenabled = loud\n"); });
    EXPECT_EQ(std::pair(settings.volume, settings.sound), std::pair(80, true));
    EXPECT_NE(printed.find("Invalid volume = 101 in '"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Invalid enabled = loud in '"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Use true or false; using true.\n"), std::string::npos) << printed;
}

TEST(SettingsTest, OnlyWindowSizesFromOneToTheEdgeLimitPass) {
    const auto error = [](int width, int height) {
        Settings settings;
        settings.width = width;
        settings.height = height;
        settings.sizeFile = "assets/settings.ini";
        return windowSizeError(settings);
    };
    EXPECT_EQ(error(1, 1), std::nullopt);
    EXPECT_EQ(error(zarn::maxWindowEdge, zarn::maxWindowEdge), std::nullopt);
    for (const auto& [width, height] :
         {std::pair{0, 800}, {800, 0}, {zarn::maxWindowEdge + 1, 800}, {800, INT_MIN}})
        EXPECT_NE(error(width, height), std::nullopt) << width << " x " << height;
    EXPECT_EQ(error(-5, 800), "Invalid window size -5 x 800 in 'assets/settings.ini'. Width and "
                              "height must be 1 to 16384.");
}

// The player's own file changes only the keys it sets, and names itself in
// its messages; without one the installed file alone counts.
TEST(SettingsTest, ThePlayersFileOverridesTheKeysItSets) {
    zarn::test::TempDirectory directory;
    const std::string installed =
        directory
            .write("settings.ini", "[window]\nwidth = 640\nheight = 480\n[sound]\nvolume = 30\n")
            .string();
    const std::string own =
        directory.write("own.ini", "[window]\nwidth = 20000\n[sound]\nvolume = 300\n").string();
    Settings settings;
    const std::string printed = captureStdout([&] { settings = loadSettings(installed, own); });
    EXPECT_EQ(std::tuple(settings.width, settings.height, settings.volume),
              std::tuple(20000, 480, 30));
    EXPECT_EQ(printed, "ERROR: Invalid volume = 300 in '" + own + "'. Use 0 to 100; using 30.\n");
    EXPECT_NE(windowSizeError(settings)->find("in '" + own + "'"), std::string::npos);
    EXPECT_EQ(loadSettings(installed, (directory.path() / "none.ini").string()).width, 640);

    setenv("XDG_CONFIG_HOME", "/config", 1);
    EXPECT_EQ(zarn::userSettingsPath(), "/config/zarn/settings.ini");
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(zarn::userSettingsPath(), "/home/player/.config/zarn/settings.ini");
}
