#include "GameProcess.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <fstream>
#include <set>
#include <sstream>

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

constexpr auto npos = std::string::npos;

std::string readFile(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The rest of the first line that starts with key, as in "Icon=" or
// "Depends: "; empty without one.
std::string valueOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key, 0) == 0)
            return line.substr(key.size());
    return "";
}

std::set<std::string> filesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(fs::relative(entry.path(), root).string());
    return files;
}

// Sky and sea of the sky box are both clearly blue (clouds aside).
bool skyBlue(const unsigned char* p) {
    return p[2] > p[0] + 40 && p[2] > 120;
}

// The build installed as a package installs it, under a temporary DESTDIR
// with the prefix /usr.
class InstallTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCommand("env DESTDIR='" + destdir.path().string() +
                             "' '" ZARN_CMAKE "' --install '" ZARN_BUILD_DIR
                             "' --prefix /usr > /dev/null 2>&1; "
                             "echo status $?"),
                  "status 0\n");
    }
    fs::path usr(const std::string& path) const { return destdir.path() / "usr" / path; }

    TempDirectory destdir;
    const fs::path entry = usr("share/applications/" ZARN_APP_ID ".desktop");
    const fs::path metainfo = usr("share/metainfo/" ZARN_APP_ID ".metainfo.xml");
};

} // namespace

TEST_F(InstallTest, PutsTheGameItsRunTimeTreeItsEntryAndItsIconsUnderThePrefix) {
    EXPECT_NE(fs::status(usr("bin/zarn")).permissions() & fs::perms::owner_exec, fs::perms::none);
    // The run-time tree is the build's, without the generator's stamp.
    std::set<std::string> runTime = filesBelow(ZARN_ASSET_DIR);
    EXPECT_EQ(runTime.erase(".generated"), 1u);
    for (const char* file : {"settings.ini", "shader/textShader.frag", "sounds/ball_roll.wav"})
        EXPECT_EQ(runTime.count(file), 1u) << file;
    EXPECT_EQ(filesBelow(usr("share/zarn/assets")), runTime);

    EXPECT_TRUE(fs::is_regular_file(entry));
    EXPECT_TRUE(fs::is_regular_file(metainfo));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size);
        const fs::path icon =
            usr("share/icons/hicolor/" + side + "x" + side + "/apps/" ZARN_APP_ID ".png");
        int width = 0, height = 0, channels = 0;
        ASSERT_TRUE(stbi_info(icon.c_str(), &width, &height, &channels)) << icon;
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
        EXPECT_EQ(channels, 4) << "the icon needs a clear ground";
    }
}

TEST_F(InstallTest, DesktopEntryAndMetainfoPassTheirValidatorsAndAgree) {
    EXPECT_EQ(runCommand("desktop-file-validate '" + entry.string() + "' 2>&1; echo status $?"),
              "status 0\n");
    const std::string report =
        runCommand("appstreamcli validate --no-net '" + metainfo.string() + "' 2>&1; echo $?");
    EXPECT_EQ(report.substr(report.size() - 2), "0\n") << report;

    // The entry shows the installed icon, and the metainfo launches the entry.
    const std::string icon = valueOf(readFile(entry), "Icon=");
    EXPECT_TRUE(fs::is_regular_file(usr("share/icons/hicolor/48x48/apps/" + icon + ".png")))
        << icon;
    const std::string text = readFile(metainfo);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" + entry.filename().string() + "<"),
              npos);
    EXPECT_NE(text.find("<release version=\"" ZARN_VERSION "\""), npos);
}

// Started from a working directory with no "assets" in it, the installed game
// finds its tree from where it lies.
TEST_F(InstallTest, InstalledGameRunsFromAnywhere) {
    GameProcess game(usr("bin/zarn"), destdir.path());
    const unsigned long window = findWindow(game.pid(), 20.0);
    ASSERT_NE(window, 0u) << game.output();
    // A drawn frame: sky all round and the cube in the middle.
    Screenshot shot;
    int sky = 0, skyInTheMiddle = 0;
    waitUntil(10.0, [&] {
        shot = captureWindow(window);
        if (shot.width == 0)
            return false;
        sky = skyInTheMiddle = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const bool blue = skyBlue(shot.at(x, y));
                sky += blue;
                skyInTheMiddle +=
                    blue && std::abs(x - shot.width / 2) < 20 && std::abs(y - shot.height / 2) < 20;
            }
        return sky > shot.width * shot.height / 5 && skyInTheMiddle == 0;
    });
    EXPECT_GT(sky, shot.width * shot.height / 5);
    EXPECT_EQ(skyInTheMiddle, 0);
    sendKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0)) << game.output();
}

TEST(DebianPackage, IsAGameThatDependsOnTheLibrariesItLinks) {
    TempDirectory output;
    ASSERT_EQ(runCommand("'" ZARN_CPACK "' -G DEB --config '" ZARN_BUILD_DIR
                         "/CPackConfig.cmake' -B '" +
                         output.path().string() + "' > /dev/null 2>&1; echo status $?"),
              "status 0\n");
    fs::path package;
    for (const auto& entry : fs::directory_iterator(output.path()))
        if (entry.path().extension() == ".deb")
            package = entry.path();
    ASSERT_FALSE(package.empty());
    const std::string fields = runCommand("dpkg-deb -f '" + package.string() + "' Section Depends");
    EXPECT_NE(fields.find("Section: games\n"), npos) << fields;
    const std::string depends = valueOf(fields, "Depends: ");
    EXPECT_NE(depends.find("libopenal1"), npos) << fields;
    EXPECT_NE(depends.find("libglfw3"), npos) << fields;
}
