#pragma once

#include <cstdint>
#include <memory>

namespace zarn {

// The top level of a block-compressed DDS file, ready for
// glCompressedTexImage2D. An empty image has every field zero.
struct DdsImage {
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t size = 0;   // bytes the upload passes to OpenGL
    std::uint32_t format = 0; // GL compressed internal format, 0 when empty

    bool empty() const { return format == 0; }
};

// Largest edge accepted from a file; anything bigger is treated as corrupt.
inline constexpr std::uint32_t maxDdsEdge = 16384;

// Reads the top level of a DXT1, DXT3 or DXT5 file. Any file that cannot be
// read in full, has an unknown FourCC or inconsistent sizes gives an empty
// image; nothing is read past the computed size of the top level.
DdsImage loadDds(const char* path);

// Byte count of one level of width x height pixels in 4x4 blocks.
std::uint32_t compressedLevelSize(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t bytesPerBlock);

} // namespace zarn
