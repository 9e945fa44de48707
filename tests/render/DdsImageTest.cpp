#include "render/DdsImage.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

using zarn::DdsImage;
using zarn::maxDdsEdge;

namespace {

// A DDS file: magic, 124-byte header, then payloadBytes bytes counting up so
// that the data can be checked.
std::vector<std::uint8_t> ddsFile(std::uint32_t width, std::uint32_t height, const char* fourCC,
                                  std::uint32_t linearSize, std::size_t payloadBytes) {
    std::vector<std::uint8_t> bytes(128 + payloadBytes, 0);
    const std::uint32_t fields[] = {124, 0, height, width, linearSize};
    std::memcpy(bytes.data(), "DDS ", 4);
    std::memcpy(bytes.data() + 4, fields, sizeof fields); // little-endian host
    std::memcpy(bytes.data() + 4 + 80, fourCC, 4);
    for (std::size_t i = 0; i < payloadBytes; ++i)
        bytes[128 + i] = std::uint8_t(i * 7 + 1);
    return bytes;
}

DdsImage load(const std::vector<std::uint8_t>& bytes) {
    const zarn::test::TempDirectory directory;
    return zarn::loadDds(directory.write("image.dds", bytes).c_str());
}

} // namespace

TEST(DdsImageTest, TheTopLevelLoadsWithTheSizeOfItsBlocks) {
    const struct {
        std::uint32_t width, height;
        const char* fourCC;
        std::uint32_t size, format;
    } cases[] = {{5, 3, "DXT1", 16, 0x83F1},
                 {5, 3, "DXT3", 32, 0x83F2},
                 {5, 3, "DXT5", 32, 0x83F3},
                 {maxDdsEdge, 4, "DXT1", 2 * maxDdsEdge, 0x83F1}, // the largest edges accepted
                 {4, maxDdsEdge, "DXT1", 2 * maxDdsEdge, 0x83F1}};
    for (const auto& c : cases) {
        const DdsImage image = load(ddsFile(c.width, c.height, c.fourCC, c.size, c.size));
        EXPECT_TRUE(image.width == c.width && image.height == c.height && image.size == c.size &&
                    image.format == c.format)
            << c.fourCC << " " << c.width << " x " << c.height << ": " << image.size;
    }
    // An 8 x 8 DXT1 image with its mip chain: the linear size covers the
    // whole chain, but only 32 bytes belong to the top level.
    const DdsImage image = load(ddsFile(8, 8, "DXT1", 56, 56));
    ASSERT_EQ(image.size, 32u);
    for (std::size_t i = 0; i < image.size; ++i)
        ASSERT_EQ(image.data[i], std::uint8_t(i * 7 + 1)) << i;
}

TEST(DdsImageTest, ForeignTruncatedOrInconsistentFilesGiveAnEmptyImage) {
    EXPECT_TRUE(zarn::loadDds("/nonexistent/image.dds").empty());
    std::vector<std::uint8_t> wrongMagic = ddsFile(4, 4, "DXT1", 8, 8), shortHeader = wrongMagic;
    wrongMagic[3] = 'X';
    shortHeader.resize(100);
    const std::uint32_t over = zarn::compressedLevelSize(maxDdsEdge + 1, 4, 8);
    const std::vector<std::uint8_t> files[] = {
        ddsFile(4, 4, "DXT2", 16, 16),
        wrongMagic,
        shortHeader,
        ddsFile(8, 8, "DXT5", 64, 63), // data one byte short
        ddsFile(8, 8, "DXT1", 31, 64), // linear size below the level size
        ddsFile(0, 8, "DXT1", 32, 32),
        ddsFile(maxDdsEdge + 1, 4, "DXT1", over, over),
        ddsFile(4, maxDdsEdge + 1, "DXT1", over, over)};
    for (const auto& file : files)
        EXPECT_TRUE(load(file).empty()) << "file " << &file - files;
}
