#include "render/DdsImage.h"

#include <cstdio>
#include <cstring>

namespace zarn {

namespace {

constexpr std::uint32_t compressedRgbaS3tcDxt1 = 0x83F1;
constexpr std::uint32_t compressedRgbaS3tcDxt3 = 0x83F2;
constexpr std::uint32_t compressedRgbaS3tcDxt5 = 0x83F3;

constexpr std::size_t headerSize = 124;

std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::uint32_t compressedLevelSize(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t bytesPerBlock) {
    return ((width + 3) / 4) * ((height + 3) / 4) * bytesPerBlock;
}

DdsImage loadDds(const char* path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file)
        return {};

    char magic[4];
    if (std::fread(magic, 1, 4, file.get()) != 4 || std::memcmp(magic, "DDS ", 4) != 0)
        return {};

    std::uint8_t header[headerSize];
    if (std::fread(header, 1, headerSize, file.get()) != headerSize)
        return {};
    const std::uint32_t height = readLittleEndian32(header + 8);
    const std::uint32_t width = readLittleEndian32(header + 12);
    const std::uint32_t linearSize = readLittleEndian32(header + 16);
    const char* fourCC = reinterpret_cast<const char*>(header + 80);

    std::uint32_t format = 0;
    std::uint32_t bytesPerBlock = 16;
    if (std::memcmp(fourCC, "DXT1", 4) == 0) {
        format = compressedRgbaS3tcDxt1;
        bytesPerBlock = 8;
    } else if (std::memcmp(fourCC, "DXT3", 4) == 0) {
        format = compressedRgbaS3tcDxt3;
    } else if (std::memcmp(fourCC, "DXT5", 4) == 0) {
        format = compressedRgbaS3tcDxt5;
    } else {
        return {};
    }

    // With both edges at most maxDdsEdge the size fits easily in 32 bits.
    if (width == 0 || height == 0 || width > maxDdsEdge || height > maxDdsEdge)
        return {};
    const std::uint32_t size = compressedLevelSize(width, height, bytesPerBlock);
    if (linearSize < size)
        return {};

    DdsImage image;
    image.data.reset(new std::uint8_t[size]);
    if (std::fread(image.data.get(), 1, size, file.get()) != size)
        return {};
    image.width = width;
    image.height = height;
    image.size = size;
    image.format = format;
    return image;
}

} // namespace zarn
