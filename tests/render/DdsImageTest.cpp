#include "render/DdsImage.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

using zarn::DdsImage;
using zarn::loadDds;
using zarn::test::TempDirectory;

namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = std::uint8_t(value >> (8 * i));
}

// A DDS file: 4-byte magic, 124-byte header, then payloadBytes bytes
// counting up from 0 so that the data can be checked.
std::vector<std::uint8_t> ddsFile(std::uint32_t width, std::uint32_t height, const char* fourCC,
                                  std::uint32_t linearSize, std::size_t payloadBytes) {
    std::vector<std::uint8_t> bytes(128 + payloadBytes, 0);
    std::memcpy(bytes.data(), "DDS ", 4);
    put32(bytes, 4, 124);
    put32(bytes, 4 + 8, height);
    put32(bytes, 4 + 12, width);
    put32(bytes, 4 + 16, linearSize);
    put32(bytes, 4 + 72, 32);
    std::memcpy(bytes.data() + 4 + 80, fourCC, 4);
    for (std::size_t i = 0; i < payloadBytes; ++i)
        bytes[128 + i] = std::uint8_t(i * 7 + 1);
    return bytes;
}

DdsImage load(const TempDirectory& directory, const std::vector<std::uint8_t>& bytes) {
    return loadDds(directory.write("image.dds", bytes).c_str());
}

void expectEmpty(const DdsImage& image) {
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.width, 0u);
    EXPECT_EQ(image.height, 0u);
    EXPECT_EQ(image.size, 0u);
    EXPECT_EQ(image.format, 0u);
}

} // namespace

TEST(DdsImageTest, SizeComesFromTheBlockCount) {
    TempDirectory directory;
    const DdsImage dxt1 = load(directory, ddsFile(5, 3, "DXT1", 16, 16));
    EXPECT_EQ(dxt1.width, 5u);
    EXPECT_EQ(dxt1.height, 3u);
    EXPECT_EQ(dxt1.size, 16u);
    EXPECT_EQ(dxt1.format, 0x83F1u);

    const DdsImage dxt3 = load(directory, ddsFile(5, 3, "DXT3", 32, 32));
    EXPECT_EQ(dxt3.size, 32u);
    EXPECT_EQ(dxt3.format, 0x83F2u);

    const DdsImage dxt5 = load(directory, ddsFile(5, 3, "DXT5", 32, 32));
    EXPECT_EQ(dxt5.size, 32u);
    EXPECT_EQ(dxt5.format, 0x83F3u);

    EXPECT_EQ(zarn::compressedLevelSize(1, 1, 8), 8u);
    EXPECT_EQ(zarn::compressedLevelSize(256, 128, 16), 64u * 32u * 16u);
}

TEST(DdsImageTest, DataIsTheTopLevelOnly) {
    TempDirectory directory;
    // An 8x8 DXT1 image with its 4x4, 2x2 and 1x1 mip levels behind it; the
    // header's linear size covers the whole chain, but only 32 bytes belong
    // to the top level.
    const DdsImage image = load(directory, ddsFile(8, 8, "DXT1", 56, 32 + 8 + 8 + 8));
    ASSERT_NE(image.data, nullptr);
    ASSERT_EQ(image.size, 32u);
    for (std::size_t i = 0; i < image.size; ++i)
        ASSERT_EQ(image.data[i], std::uint8_t(i * 7 + 1)) << i;
}

TEST(DdsImageTest, UnreadableOrForeignFilesGiveAnEmptyImage) {
    TempDirectory directory;
    expectEmpty(loadDds((directory.path() / "missing.dds").c_str()));
    expectEmpty(load(directory, ddsFile(4, 4, "DXT2", 16, 16)));
    expectEmpty(load(directory, ddsFile(4, 4, "ATI2", 16, 16)));
    expectEmpty(load(directory, ddsFile(4, 4, "\0\0\0\0", 16, 16)));
    std::vector<std::uint8_t> wrongMagic = ddsFile(4, 4, "DXT1", 8, 8);
    wrongMagic[3] = 'X';
    expectEmpty(load(directory, wrongMagic));
    expectEmpty(load(directory, {}));
    expectEmpty(load(directory, {'D', 'D', 'S'}));
}

TEST(DdsImageTest, TruncatedFilesGiveAnEmptyImage) {
    TempDirectory directory;
    // Header cut short.
    std::vector<std::uint8_t> shortHeader = ddsFile(4, 4, "DXT1", 8, 0);
    shortHeader.resize(100);
    expectEmpty(load(directory, shortHeader));
    // Header complete, data one byte short of the computed size.
    expectEmpty(load(directory, ddsFile(8, 8, "DXT5", 64, 63)));
    // No data at all.
    expectEmpty(load(directory, ddsFile(8, 8, "DXT1", 32, 0)));
}

TEST(DdsImageTest, InconsistentHeadersGiveAnEmptyImage) {
    TempDirectory directory;
    // Linear size below what the block count needs.
    expectEmpty(load(directory, ddsFile(8, 8, "DXT1", 31, 64)));
    expectEmpty(load(directory, ddsFile(8, 8, "DXT1", 0, 64)));
    // Zero or absurd edges.
    expectEmpty(load(directory, ddsFile(0, 8, "DXT1", 32, 32)));
    expectEmpty(load(directory, ddsFile(8, 0, "DXT1", 32, 32)));
    expectEmpty(load(directory, ddsFile(16385, 4, "DXT1", 0xFFFFFFFF, 64)));
    // Edges whose block count would overflow 32 bits.
    expectEmpty(load(directory, ddsFile(0xFFFFFFFF, 0xFFFFFFFF, "DXT5", 0xFFFFFFFF, 64)));
    expectEmpty(load(directory, ddsFile(0x80000000u, 0x40000u, "DXT5", 0xFFFFFFFF, 64)));
}

TEST(DdsImageTest, LargestAcceptedEdgeLoads) {
    TempDirectory directory;
    const std::uint32_t size = zarn::compressedLevelSize(zarn::maxDdsEdge, 4, 8);
    const DdsImage image = load(directory, ddsFile(zarn::maxDdsEdge, 4, "DXT1", size, size));
    EXPECT_EQ(image.width, zarn::maxDdsEdge);
    EXPECT_EQ(image.size, size);
    ASSERT_NE(image.data, nullptr);
}
