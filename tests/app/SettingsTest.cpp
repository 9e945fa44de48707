#include "app/Settings.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using zarn::loadSettings;
using zarn::Settings;
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
}

TEST(SettingsTest, MalformedLineKeepsWhatWasReadAndPrintsNothing) {
    std::string printed;
    const Settings settings =
        loadText("[window]\nwidth = 900\nbroken line\nheight = 700\n", &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(settings.width, 900);
    EXPECT_EQ(settings.height, 700);
}
