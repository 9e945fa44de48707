#include "AssetWriters.h"

namespace assetgen {

bool writeFigureModels(const std::filesystem::path&) { return true; }

} // namespace assetgen
