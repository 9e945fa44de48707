#include "DdsWriter.h"

#include <stb_dxt.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

namespace assetgen {

namespace {

constexpr std::uint32_t ddsdCaps = 0x1;
constexpr std::uint32_t ddsdHeight = 0x2;
constexpr std::uint32_t ddsdWidth = 0x4;
constexpr std::uint32_t ddsdPixelFormat = 0x1000;
constexpr std::uint32_t ddsdMipMapCount = 0x20000;
constexpr std::uint32_t ddsdLinearSize = 0x80000;
constexpr std::uint32_t ddpfFourCC = 0x4;
constexpr std::uint32_t ddsCapsComplex = 0x8;
constexpr std::uint32_t ddsCapsTexture = 0x1000;
constexpr std::uint32_t ddsCapsMipMap = 0x400000;

constexpr std::size_t ddsHeaderBytes = 128; // magic and the 124-byte header
constexpr std::size_t dxt1BlockBytes = 8;
constexpr std::size_t dxt5BlockBytes = 16; // an alpha block in front of the colour block

void put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = std::uint8_t(value >> (8 * i));
}

// DXT1 or DXT5 blocks of one level, row of blocks by row of blocks from the
// top. Edges that are not a multiple of four are padded by repeating the last
// pixel.
std::vector<std::uint8_t> encodeBlocks(const ImageCanvas& image, bool alpha) {
    const std::size_t blockBytes = alpha ? dxt5BlockBytes : dxt1BlockBytes;
    const std::vector<std::uint8_t> rgba = image.toBytes(4);
    const int width = image.width();
    const int height = image.height();
    std::vector<std::uint8_t> blocks;
    blocks.reserve(std::size_t((width + 3) / 4) * ((height + 3) / 4) * blockBytes);
    std::uint8_t source[64];
    std::uint8_t block[dxt5BlockBytes];
    for (int by = 0; by < height; by += 4)
        for (int bx = 0; bx < width; bx += 4) {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    const int sx = std::min(bx + x, width - 1);
                    const int sy = std::min(by + y, height - 1);
                    std::copy_n(&rgba[(std::size_t(sy) * width + sx) * 4], 4,
                                &source[(y * 4 + x) * 4]);
                }
            stb_compress_dxt_block(block, source, alpha, STB_DXT_HIGHQUAL);
            blocks.insert(blocks.end(), block, block + blockBytes);
        }
    return blocks;
}

// The 128 bytes in front of a DXT1 or DXT5 file with the given top level and
// level count.
std::array<std::uint8_t, ddsHeaderBytes> ddsHeader(std::uint32_t width, std::uint32_t height,
                                                   std::uint32_t mipLevels, bool alpha) {
    std::array<std::uint8_t, ddsHeaderBytes> header{};
    std::copy_n("DDS ", 4, header.begin());
    std::uint8_t* h = header.data();
    put32(h + 4, 124);
    std::uint32_t flags = ddsdCaps | ddsdHeight | ddsdWidth | ddsdPixelFormat | ddsdLinearSize;
    if (mipLevels > 1)
        flags |= ddsdMipMapCount;
    put32(h + 8, flags);
    put32(h + 12, height);
    put32(h + 16, width);
    put32(h + 20, ((width + 3) / 4) * ((height + 3) / 4) *
                      std::uint32_t(alpha ? dxt5BlockBytes : dxt1BlockBytes));
    put32(h + 28, mipLevels);
    put32(h + 76, 32);
    put32(h + 80, ddpfFourCC);
    std::copy_n(alpha ? "DXT5" : "DXT1", 4, h + 84);
    std::uint32_t caps = ddsCapsTexture;
    if (mipLevels > 1)
        caps |= ddsCapsComplex | ddsCapsMipMap;
    put32(h + 108, caps);
    return header;
}

bool writeDds(const std::filesystem::path& path, const ImageCanvas& image, bool alpha) {
    const auto width = std::uint32_t(image.width());
    const auto height = std::uint32_t(image.height());
    if (!std::has_single_bit(width) || !std::has_single_bit(height)) {
        std::cout << "assetgen: " << path.string() << " needs power-of-two edges, not " << width
                  << " x " << height << std::endl;
        return false;
    }
    const std::uint32_t levels = std::bit_width(std::max(width, height));

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const auto header = ddsHeader(width, height, levels, alpha);
    file.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    ImageCanvas level = image;
    for (std::uint32_t i = 0; i < levels; ++i) {
        if (i > 0)
            level = level.halved();
        const std::vector<std::uint8_t> blocks = encodeBlocks(level, alpha);
        file.write(reinterpret_cast<const char*>(blocks.data()), std::streamsize(blocks.size()));
    }
    file.close();
    if (!file) {
        std::cout << "assetgen: could not write " << path.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace

bool writeDxt1Dds(const std::filesystem::path& path, const ImageCanvas& image) {
    return writeDds(path, image, false);
}

bool writeDxt5Dds(const std::filesystem::path& path, const ImageCanvas& image) {
    return writeDds(path, image, true);
}

} // namespace assetgen
