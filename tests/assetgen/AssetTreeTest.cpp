#include "data/DataFiles.h"
#include "sound/SoundNames.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using zarn::test::TempDirectory;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// Writes the asset tree to root/assets and the icons to root/icons, as the
// build does.
int runGenerator(const fs::path& root, const std::string& font = ZARN_FONT_FILE) {
    return std::system(("'" + std::string(ZARN_ASSETGEN_PATH) + "' '" + (root / "assets").string() +
                        "' '" + font + "' '" + (root / "icons").string() + "' > /dev/null 2>&1")
                           .c_str());
}

} // namespace

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
        // The build's own trees came from the same generator.
        EXPECT_TRUE(contents == readFile(name)) << name << " is stale";
    }
    EXPECT_GT(files, 40u);
}

// Every file the game opens is in the built tree under the name it opens.
TEST(AssetTreeTest, TheBuiltTreeHoldsEveryFileTheGameOpens) {
    std::vector<std::string> files = zarn::data::everyFile();
    for (const std::string_view sound : zarn::soundNames)
        files.push_back(std::string(zarn::data::sounds) + "/" + std::string(sound) + ".wav");
    for (const std::string& file : files)
        EXPECT_TRUE(fs::is_regular_file(fs::path("assets") / file)) << file;
    EXPECT_TRUE(fs::is_directory(fs::path("assets") / zarn::data::shaders));
}

TEST(AssetTreeTest, GeneratorFailsLoudlyWithoutItsFont) {
    TempDirectory directory;
    EXPECT_NE(runGenerator(directory.path(), (directory.path() / "no-font.ttf").string()), 0);
}
