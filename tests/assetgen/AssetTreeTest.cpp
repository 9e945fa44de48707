#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using zarn::test::TempDirectory;

namespace {

// Every file the game opens by name (models name their own textures, which
// the model tests check).
const char* const gameFiles[] = {
    "settings.ini",
    "fonts/arial.ttf",
    "models/cubeBottom/redButton.obj",
    "models/cubeBottom/buttonFrame.obj",
    "models/pentagon/frame.obj",
    "models/pentagon/lock.obj",
    "models/pentagon/mt.obj",
    "models/pentagon/bg.obj",
    "models/pentagon/rcg.obj",
    "models/pentagon/fp.obj",
    "models/frame/frame.obj",
    "models/trees_export/trees_1.obj",
    "models/trees_export/trees_2.obj",
    "models/riverCrossing/arrow/arrow_V2.obj",
    "models/riverCrossing/arrow_outlines/arrow_V2.obj",
    "models/riverCrossing/boat/boat.obj",
    "models/animals/wolf.dae",
    "models/animals/bunny13.dae",
    "models/animals/carrot.dae",
    "models/animals/outlines/wolf_outlines.dae",
    "models/animals/outlines/bunny_outlines.dae",
    "models/animals/outlines/carrot_outlines.dae",
    "textures/movingTiles/movingTiles_0.dds",
    "textures/movingTiles/movingTiles_1.dds",
    "textures/movingTiles/movingTiles_2.dds",
    "textures/movingTiles/movingTiles_3.dds",
    "textures/movingTiles/movingTiles_4.dds",
    "textures/movingTiles/movingTiles_5.dds",
    "textures/movingTiles/movingTiles_6.dds",
    "textures/movingTiles/movingTiles_7.dds",
    "textures/movingTiles/movingTiles_8.dds",
    "textures/flowPuzzle/flow_playground.dds",
    "textures/flowPuzzle/flow_playground_finished.dds",
    "textures/riverCrossingGame/bluish.dds",
    "textures/riverCrossingGame/yellow.dds",
    "textures/riverCrossingGame/green.dds",
    "textures/texture_gauss6.dds",
    "textures/ballGame_red.dds",
    "textures/ballGame_yellow.dds",
    "textures/ballGame_bluish.dds",
    "textures/ballGame_flieder.dds",
    "textures/black.dds",
    "textures/shadow_pseudo_texture.dds",
    "textures/cubemapNew/right.jpg",
    "textures/cubemapNew/left.jpg",
    "textures/cubemapNew/top.jpg",
    "textures/cubemapNew/bottom.jpg",
    "textures/cubemapNew/front.jpg",
    "textures/cubemapNew/back.jpg",
    "textures/particleSystem/particle_full.png",
    "textures/particleSystem/particle.png",
    "textures/hud_controls.png",
};

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// Relative path to contents of every regular file below root.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = readFile(entry.path());
    return files;
}

int runGenerator(const fs::path& root) {
    const std::string command = std::string("'") + ZARN_ASSETGEN_PATH + "' '" + root.string() +
                                "' '" + ZARN_FONT_FILE + "' > '" + root.string() + ".log' 2>&1";
    return std::system(command.c_str());
}

} // namespace

TEST(AssetTreeTest, EveryFileTheGameOpensIsInTheBuiltTree) {
    for (const char* file : gameFiles) {
        const fs::path path = fs::path("assets") / file;
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_GT(fs::exists(path) ? fs::file_size(path) : 0, 0u) << path;
    }
}

TEST(AssetTreeTest, GeneratorWritesTheSameBytesEveryRun) {
    TempDirectory first, second;
    ASSERT_EQ(runGenerator(first.path() / "assets"), 0);
    ASSERT_EQ(runGenerator(second.path() / "assets"), 0);
    const auto a = snapshot(first.path() / "assets");
    const auto b = snapshot(second.path() / "assets");
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, contents] : a) {
        const auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(contents == other->second) << name << " differs between runs";
    }
    // The build's own tree came from the same generator.
    for (const auto& [name, contents] : a)
        EXPECT_TRUE(readFile(fs::path("assets") / name) == contents) << name << " is stale";
}

TEST(AssetTreeTest, GeneratorFailsLoudlyWithoutItsFont) {
    TempDirectory directory;
    const std::string command = std::string("'") + ZARN_ASSETGEN_PATH + "' '" +
                                (directory.path() / "assets").string() + "' '" +
                                (directory.path() / "no-font.ttf").string() + "' > /dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
    // A wrong command line is refused too.
    EXPECT_NE(std::system((std::string("'") + ZARN_ASSETGEN_PATH + "' > /dev/null 2>&1").c_str()),
              0);
}
