#pragma once

#include "support/TempDirectory.h"

#include <filesystem>
#include <string>

namespace zarn::test {

// A working directory whose "assets" links to the built tree, except for a
// copy of the shaders so that a test can remove one.
class GameDirectory {
public:
    GameDirectory() {
        const std::filesystem::path assets = directory.path() / "assets";
        std::filesystem::create_directories(assets);
        for (const char* name : {"fonts", "models", "sounds", "textures"})
            std::filesystem::create_directory_symlink(std::filesystem::path(ZARN_ASSET_DIR) / name,
                                                      assets / name);
        std::filesystem::copy(std::filesystem::path(ZARN_ASSET_DIR) / "shader", assets / "shader");
    }
    std::filesystem::path path() const { return directory.path(); }
    void writeSettings(const std::string& text) const {
        directory.write("assets/settings.ini", text);
    }
    // Replaces the links by a full copy of the built tree, settings file
    // included, so that a test can change any file without touching the build.
    void copyWholeTree() const {
        const std::filesystem::path assets = directory.path() / "assets";
        std::filesystem::remove_all(assets);
        std::filesystem::copy(ZARN_ASSET_DIR, assets, std::filesystem::copy_options::recursive);
    }

private:
    TempDirectory directory;
};

} // namespace zarn::test
