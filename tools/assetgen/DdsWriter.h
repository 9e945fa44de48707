#pragma once

#include "ImageCanvas.h"

#include <filesystem>

namespace assetgen {

// Writes image as a DXT1 DDS file with its full mip chain down to 1 x 1.
// Both edges must be powers of two; prints the reason and returns false otherwise.
bool writeDxt1Dds(const std::filesystem::path& path, const ImageCanvas& image);
// The same as DXT5, which keeps the picture's alpha.
bool writeDxt5Dds(const std::filesystem::path& path, const ImageCanvas& image);

} // namespace assetgen
