#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using zarn::test::TempDirectory;

namespace {

// Every file the game opens by name; models name their own textures, which
// the model tests check.
std::vector<std::string> gameFiles() {
    std::vector<std::string> files = {"settings.ini",
                                      "fonts/arial.ttf",
                                      "textures/hud_controls.png",
                                      "models/cubeBottom/redButton.obj",
                                      "models/cubeBottom/buttonFrame.obj",
                                      "models/frame/frame.obj",
                                      "models/trees_export/trees_1.obj",
                                      "models/trees_export/trees_2.obj",
                                      "models/riverCrossing/arrow/arrow_V2.obj",
                                      "models/riverCrossing/arrow_outlines/arrow_V2.obj",
                                      "models/riverCrossing/boat/boat.obj",
                                      "textures/flowPuzzle/flow_playground.dds",
                                      "textures/flowPuzzle/flow_playground_finished.dds",
                                      "textures/particleSystem/particle_full.png",
                                      "textures/particleSystem/particle.png"};
    for (const char* piece : {"frame", "lock", "mt", "bg", "rcg", "fp"})
        files.push_back(std::string("models/pentagon/") + piece + ".obj");
    for (const char* animal : {"wolf", "bunny13", "carrot"})
        files.push_back(std::string("models/animals/") + animal + ".dae");
    for (const char* outline : {"wolf", "bunny", "carrot"})
        files.push_back(std::string("models/animals/outlines/") + outline + "_outlines.dae");
    for (int tile = 0; tile < 9; ++tile)
        files.push_back("textures/movingTiles/movingTiles_" + std::to_string(tile) + ".dds");
    for (const char* ground : {"bluish", "yellow", "green"})
        files.push_back(std::string("textures/riverCrossingGame/") + ground + ".dds");
    for (const char* texture :
         {"texture_gauss6", "ballGame_red", "ballGame_yellow", "ballGame_bluish",
          "ballGame_flieder", "black", "shadow_pseudo_texture"})
        files.push_back(std::string("textures/") + texture + ".dds");
    for (const char* face : {"right", "left", "top", "bottom", "front", "back"})
        files.push_back(std::string("textures/cubemapNew/") + face + ".jpg");
    return files;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

int runGenerator(const fs::path& root, const std::string& font = ZARN_FONT_FILE) {
    return std::system(("'" + std::string(ZARN_ASSETGEN_PATH) + "' '" + root.string() + "' '" +
                        font + "' > /dev/null 2>&1")
                           .c_str());
}

} // namespace

TEST(AssetTreeTest, EveryFileTheGameOpensIsInTheBuiltTree) {
    for (const std::string& file : gameFiles()) {
        const fs::path path = fs::path("assets") / file;
        EXPECT_TRUE(fs::is_regular_file(path) && fs::file_size(path) > 0) << path;
    }
}

TEST(AssetTreeTest, GeneratorWritesTheSameBytesEveryRun) {
    TempDirectory first, second;
    ASSERT_EQ(runGenerator(first.path()), 0);
    ASSERT_EQ(runGenerator(second.path()), 0);
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first.path())) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const fs::path name = fs::relative(entry.path(), first.path());
        const std::string contents = readFile(entry.path());
        EXPECT_TRUE(contents == readFile(second.path() / name)) << name << " differs between runs";
        // The build's own tree came from the same generator.
        EXPECT_TRUE(contents == readFile(fs::path("assets") / name)) << name << " is stale";
    }
    EXPECT_GT(files, 40u);
}

TEST(AssetTreeTest, GeneratorFailsLoudlyWithoutItsFont) {
    TempDirectory directory;
    EXPECT_NE(runGenerator(directory.path(), (directory.path() / "no-font.ttf").string()), 0);
}
