#pragma once

#include <filesystem>
#include <string>

namespace assetgen {

// Each writer creates its part of the tree below assetRoot (the directory
// that holds "models", "textures", "sounds" and "fonts"), overwriting what is
// there. They return false after printing what went wrong.
bool writeImageAssets(const std::filesystem::path& assetRoot,
                      const std::filesystem::path& fontFile);
bool writeStaticModels(const std::filesystem::path& assetRoot);
bool writeFigureModels(const std::filesystem::path& assetRoot);
bool writeSoundAssets(const std::filesystem::path& assetRoot);
// The desktop icon at every size, as an icon theme's tree below themeRoot:
// hicolor/<size>x<size>/apps/<name>.png.
bool writeIcons(const std::filesystem::path& themeRoot, const std::string& name);

} // namespace assetgen
