#include "AssetWriters.h"

namespace assetgen {

bool writeImageAssets(const std::filesystem::path&, const std::filesystem::path&) { return true; }

} // namespace assetgen
