#include "app/Settings.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using zarn::loadSettings;
using zarn::Settings;
using zarn::test::captureStdout;
using zarn::test::TempDirectory;

namespace {

Settings loadFrom(const TempDirectory& directory, const std::string& contents,
                  std::string* output = nullptr) {
    const auto path = directory.write("settings.ini", contents).string();
    Settings settings;
    const std::string printed = captureStdout([&] { settings = loadSettings(path); });
    if (output)
        *output = printed;
    return settings;
}

} // namespace

TEST(SettingsTest, MissingFileGivesDefaultsAndSaysSo) {
    TempDirectory directory;
    const std::string path = (directory.path() / "nothing.ini").string();
    Settings settings;
    const std::string printed = captureStdout([&] { settings = loadSettings(path); });
    EXPECT_EQ(printed, "ERROR: Failed to load '" + path + "'. Using default values instead.\n");
    EXPECT_EQ(settings.width, 800);
    EXPECT_EQ(settings.height, 800);
    EXPECT_EQ(settings.refreshRate, 60);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.title, "Zarn");
    EXPECT_FLOAT_EQ(settings.fov, 60.0f);
    EXPECT_FLOAT_EQ(settings.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(settings.farPlane, 100.0f);
}

TEST(SettingsTest, ReadsAllEightValuesWithoutMessage) {
    TempDirectory directory;
    std::string printed;
    const Settings settings = loadFrom(directory,
                                       "[window]\nwidth = 1024\nheight = 640\nrefresh_rate = 75\n"
                                       "fullscreen = off\ntitle = Puzzle Cube\n"
                                       "[camera]\nfov = 45.5\nnear = 0.25\nfar = 250\n",
                                       &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 640);
    EXPECT_EQ(settings.refreshRate, 75);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.title, "Puzzle Cube");
    EXPECT_FLOAT_EQ(settings.fov, 45.5f);
    EXPECT_FLOAT_EQ(settings.nearPlane, 0.25f);
    EXPECT_FLOAT_EQ(settings.farPlane, 250.0f);
}

TEST(SettingsTest, IntegersFollowStrtolInBaseZero) {
    TempDirectory directory;
    EXPECT_EQ(loadFrom(directory, "[window]\nwidth = abc\n").width, 800);
    EXPECT_EQ(loadFrom(directory, "[window]\nwidth = 0x400\n").width, 1024);
    EXPECT_EQ(loadFrom(directory, "[window]\nwidth = 010\n").width, 8);
    EXPECT_EQ(loadFrom(directory, "[window]\nwidth = 640px\n").width, 640);
    EXPECT_EQ(loadFrom(directory, "[window]\nwidth =\n").width, 800);
}

TEST(SettingsTest, BooleansAcceptTheUsualWordsInAnyCase) {
    TempDirectory directory;
    EXPECT_TRUE(loadFrom(directory, "[window]\nfullscreen = Yes\n").fullscreen);
    EXPECT_TRUE(loadFrom(directory, "[window]\nfullscreen = ON\n").fullscreen);
    EXPECT_TRUE(loadFrom(directory, "[window]\nfullscreen = 1\n").fullscreen);
    EXPECT_FALSE(loadFrom(directory, "[window]\nfullscreen = maybe\n").fullscreen);
    EXPECT_FALSE(loadFrom(directory, "[window]\nfullscreen = No\n").fullscreen);
}

TEST(SettingsTest, RealsFollowStrtodAndKeepTheDefaultWhenUnparsable) {
    TempDirectory directory;
    const Settings settings = loadFrom(directory, "[camera]\nfov = 7.5e1\nnear = x\nfar = 1e3\n");
    EXPECT_FLOAT_EQ(settings.fov, 75.0f);
    EXPECT_FLOAT_EQ(settings.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(settings.farPlane, 1000.0f);
}

TEST(SettingsTest, SectionAndKeyNamesIgnoreCase) {
    TempDirectory directory;
    const Settings settings = loadFrom(directory, "[WINDOW]\nWidth = 900\n[Camera]\nFOV = 50\n");
    EXPECT_EQ(settings.width, 900);
    EXPECT_FLOAT_EQ(settings.fov, 50.0f);
}

TEST(SettingsTest, MalformedLineKeepsWhatWasReadAndPrintsNothing) {
    TempDirectory directory;
    std::string printed;
    const Settings settings =
        loadFrom(directory, "[window]\nwidth = 900\nthis line is broken\nheight = 700\n", &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(settings.width, 900);
    EXPECT_EQ(settings.height, 700);
}

TEST(SettingsTest, KeysInTheWrongSectionAreIgnored) {
    TempDirectory directory;
    const Settings settings = loadFrom(directory, "[camera]\nwidth = 1200\n[window]\nfov = 10\n");
    EXPECT_EQ(settings.width, 800);
    EXPECT_FLOAT_EQ(settings.fov, 60.0f);
}
