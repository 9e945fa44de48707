#include "AssetWriters.h"

namespace assetgen {

bool writeStaticModels(const std::filesystem::path&) { return true; }

} // namespace assetgen
