#include "data/DataDirectory.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using namespace zarn;
namespace fs = std::filesystem;

// The places are tried in order and the first with a tree wins: the option,
// the variable, beside the executable, ../share/zarn from it, the install;
// empty ones are left out, and a miss names every place tried.
TEST(DataDirectoryTest, TheFirstPlaceThatHoldsATreeWins) {
    test::TempDirectory root;
    const auto tree = [&](const fs::path& place) {
        fs::create_directories(root.path() / place / "shader");
        return root.path() / place;
    };
    const fs::path executable = root.path() / "prefix/bin/zarn";
    const fs::path option = tree("option"), variable = tree("variable");
    const fs::path installed = root.path() / "installed";
    fs::create_directories(executable.parent_path());

    EXPECT_EQ(findDataDirectory(option.string(), variable.string(), executable, installed).found,
              option);
    EXPECT_EQ(findDataDirectory("", variable.string(), executable, installed).found, variable);
    const fs::path shared = tree("prefix/share/zarn/assets");
    EXPECT_EQ(findDataDirectory("", "", executable, installed).found, shared);
    const fs::path beside = tree("prefix/bin/assets");
    EXPECT_EQ(findDataDirectory("", "", executable, installed).found, beside);
    fs::remove_all(beside);
    fs::remove_all(shared);
    tree("installed");
    EXPECT_EQ(findDataDirectory("", "", executable, installed).found, installed);
    fs::remove_all(installed);

    // A folder without the shader programs is no tree.
    fs::create_directories(installed);
    const DataLookup none = findDataDirectory("", root.path() / "nowhere", executable, installed);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(noDataDirectoryMessage(none),
              "The game's data folder is in none of these places:\n  " +
                  (root.path() / "nowhere").string() + "\n  " +
                  (root.path() / "prefix/bin/assets").string() + "\n  " +
                  (root.path() / "prefix/share/zarn/assets").string() + "\n  " +
                  installed.string() + "\nStart zarn with --data <folder> or set ZARN_DATA.");
}
