#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// Where the run-time tree is, and the places looked at to find it.
struct DataLookup {
    std::optional<std::filesystem::path> found;
    std::vector<std::filesystem::path> tried;
};

// The first of these that holds a run-time tree (a folder with the shader
// programs): the --data option, $ZARN_DATA, "assets" beside the executable
// (the build tree), "../share/zarn/assets" from the executable's folder, and
// the folder the install put it in. Empty places are skipped.
DataLookup findDataDirectory(const std::string& option, const std::string& environment,
                             const std::filesystem::path& executable,
                             const std::filesystem::path& installed);

// The message for a lookup that found nothing: every place tried.
std::string noDataDirectoryMessage(const DataLookup& lookup);

// The run-time tree every file is opened from: "assets" in the working
// directory until the game sets the one it found.
void setDataRoot(std::filesystem::path root);
const std::filesystem::path& dataRoot();
// A file of the tree, named as in DataFiles.h.
std::string dataPath(std::string_view file);

} // namespace zarn
