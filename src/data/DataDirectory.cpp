#include "data/DataDirectory.h"

#include "data/DataFiles.h"

namespace zarn {

namespace {

std::filesystem::path& root() {
    static std::filesystem::path path = "assets";
    return path;
}

} // namespace

DataLookup findDataDirectory(const std::string& option, const std::string& environment,
                             const std::filesystem::path& executable,
                             const std::filesystem::path& installed) {
    const std::filesystem::path folder = executable.parent_path();
    DataLookup lookup;
    for (const std::filesystem::path& place :
         {std::filesystem::path(option), std::filesystem::path(environment), folder / "assets",
          folder / ".." / "share" / "zarn" / "assets", installed}) {
        if (place.empty())
            continue;
        lookup.tried.push_back(place.lexically_normal());
        std::error_code error;
        if (std::filesystem::is_directory(place / data::shaders, error)) {
            lookup.found = lookup.tried.back();
            break;
        }
    }
    return lookup;
}

std::string noDataDirectoryMessage(const DataLookup& lookup) {
    std::string message = "The game's data folder is in none of these places:";
    for (const std::filesystem::path& place : lookup.tried)
        message += "\n  " + place.string();
    return message + "\nStart zarn with --data <folder> or set ZARN_DATA.";
}

void setDataRoot(std::filesystem::path path) {
    root() = std::move(path);
}

const std::filesystem::path& dataRoot() {
    return root();
}

std::string dataPath(std::string_view file) {
    return (root() / file).string();
}

} // namespace zarn
