#include "app/Settings.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <climits>

using zarn::loadSettings;
using zarn::maxWindowEdge;
using zarn::Settings;
using zarn::windowSizeError;
using zarn::test::captureStdout;
using zarn::test::TempDirectory;

namespace {

// Loads settings from a file with the given text; printed receives the output.
Settings loadText(const std::string& contents, std::string* printed = nullptr) {
    TempDirectory directory;
    const auto path = directory.write("settings.ini", contents).string();
    Settings settings;
    const std::string output = captureStdout([&] { settings = loadSettings(path); });
    if (printed)
        *printed = output;
    return settings;
}

} // namespace

TEST(SettingsTest, MissingFileGivesDefaultsAndSaysSo) {
    Settings settings;
    const std::string printed = captureStdout([&] { settings = loadSettings("/nonexistent.ini"); });
    EXPECT_EQ(printed, "ERROR: Failed to load '/nonexistent.ini'. Using default values instead.\n");
    EXPECT_EQ(settings.width, 800);
    EXPECT_EQ(settings.height, 800);
    EXPECT_EQ(settings.refreshRate, 60);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.title, "Zarn");
    EXPECT_FLOAT_EQ(settings.fov, 60.0f);
    EXPECT_FLOAT_EQ(settings.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(settings.farPlane, 100.0f);
}

TEST(SettingsTest, ReadsAllValuesIgnoringCaseOfNames) {
    std::string printed;
    const Settings settings = loadText("[WINDOW]\nWidth = 1024\nheight = 640\nrefresh_rate = 75\n"
                                       "fullscreen = on\ntitle = Puzzle Cube\n"
                                       "[Camera]\nFOV = 45.5\nnear = 0.25\nfar = 1e3\n",
                                       &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 640);
    EXPECT_EQ(settings.refreshRate, 75);
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_EQ(settings.title, "Puzzle Cube");
    EXPECT_FLOAT_EQ(settings.fov, 45.5f);
    EXPECT_FLOAT_EQ(settings.nearPlane, 0.25f);
    EXPECT_FLOAT_EQ(settings.farPlane, 1000.0f);
}

TEST(SettingsTest, ValuesFollowTheReadersParsingRules) {
    EXPECT_EQ(loadText("[window]\nwidth = abc\n").width, 800);
    EXPECT_EQ(loadText("[window]\nwidth = 0x400\n").width, 1024);
    EXPECT_EQ(loadText("[window]\nwidth = 010\n").width, 8);
    EXPECT_TRUE(loadText("[window]\nfullscreen = Yes\n").fullscreen);
    EXPECT_FALSE(loadText("[window]\nfullscreen = maybe\n").fullscreen);
    EXPECT_FLOAT_EQ(loadText("[camera]\nnear = x\n").nearPlane, 0.1f);
    // Keys in the wrong section are not taken.
    EXPECT_EQ(loadText("[camera]\nwidth = 1200\n").width, 800);
    // Beyond 32 bits a value saturates: 2^32 + 800 must not wrap to 800.
    EXPECT_EQ(loadText("[window]\nwidth = 0x100000320\n").width, INT_MAX);
    EXPECT_EQ(loadText("[window]\nheight = -4294967296\n").height, INT_MIN);
}

TEST(SettingsTest, MalformedLineKeepsWhatWasReadAndPrintsNothing) {
    std::string printed;
    const Settings settings =
        loadText("[window]\nwidth = 900\nbroken line\nheight = 700\n", &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(settings.width, 900);
    EXPECT_EQ(settings.height, 700);
}

TEST(SettingsTest, OnlyWindowSizesFromOneToTheEdgeLimitPass) {
    const auto error = [](int width, int height) {
        Settings settings;
        settings.width = width;
        settings.height = height;
        return windowSizeError(settings);
    };
    EXPECT_EQ(error(1, 1), std::nullopt);
    EXPECT_EQ(error(maxWindowEdge, maxWindowEdge), std::nullopt);
    for (const auto& [width, height] : {std::pair{0, 800},
                                        {800, 0},
                                        {-1, 800},
                                        {800, INT_MIN},
                                        {maxWindowEdge + 1, 800},
                                        {800, INT_MAX}})
        EXPECT_NE(error(width, height), std::nullopt) << width << " x " << height;
    EXPECT_EQ(error(-5, 800), "Invalid window size -5 x 800 in 'assets/settings.ini'. Width and "
                              "height must be 1 to 16384.");
}
