#include "render/DdsImage.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

using zarn::DdsImage;
using zarn::test::TempDirectory;

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

class DdsImageTest : public testing::Test {
protected:
    DdsImage load(const std::vector<std::uint8_t>& bytes) {
        return zarn::loadDds(directory.write("image.dds", bytes).c_str());
    }
    void expectEmpty(const std::vector<std::uint8_t>& bytes) {
        const DdsImage image = load(bytes);
        EXPECT_TRUE(image.empty());
        EXPECT_EQ(image.data, nullptr);
        EXPECT_EQ(image.width | image.height | image.size | image.format, 0u);
    }
    TempDirectory directory;
};

} // namespace

TEST_F(DdsImageTest, SizeComesFromTheBlockCount) {
    const DdsImage dxt1 = load(ddsFile(5, 3, "DXT1", 16, 16));
    EXPECT_EQ(dxt1.width, 5u);
    EXPECT_EQ(dxt1.height, 3u);
    EXPECT_EQ(dxt1.size, 16u);
    EXPECT_EQ(dxt1.format, 0x83F1u);
    const DdsImage dxt3 = load(ddsFile(5, 3, "DXT3", 32, 32));
    EXPECT_EQ(dxt3.size, 32u);
    EXPECT_EQ(dxt3.format, 0x83F2u);
    const DdsImage dxt5 = load(ddsFile(5, 3, "DXT5", 32, 32));
    EXPECT_EQ(dxt5.size, 32u);
    EXPECT_EQ(dxt5.format, 0x83F3u);
}

TEST_F(DdsImageTest, DataIsTheTopLevelOnly) {
    // An 8x8 DXT1 image with its mip chain; the header's linear size covers
    // the whole chain, but only 32 bytes belong to the top level.
    const DdsImage image = load(ddsFile(8, 8, "DXT1", 56, 32 + 8 + 8 + 8));
    ASSERT_NE(image.data, nullptr);
    ASSERT_EQ(image.size, 32u);
    for (std::size_t i = 0; i < image.size; ++i)
        ASSERT_EQ(image.data[i], std::uint8_t(i * 7 + 1)) << i;
}

TEST_F(DdsImageTest, ForeignTruncatedOrInconsistentFilesGiveAnEmptyImage) {
    EXPECT_TRUE(zarn::loadDds((directory.path() / "missing.dds").c_str()).empty());
    expectEmpty(ddsFile(4, 4, "DXT2", 16, 16));
    std::vector<std::uint8_t> wrongMagic = ddsFile(4, 4, "DXT1", 8, 8);
    wrongMagic[3] = 'X';
    expectEmpty(wrongMagic);
    expectEmpty({'D', 'D', 'S'});
    std::vector<std::uint8_t> shortHeader = ddsFile(4, 4, "DXT1", 8, 0);
    shortHeader.resize(100);
    expectEmpty(shortHeader);
    expectEmpty(ddsFile(8, 8, "DXT5", 64, 63)); // data one byte short
    expectEmpty(ddsFile(8, 8, "DXT1", 31, 64)); // linear size below the level size
    expectEmpty(ddsFile(0, 8, "DXT1", 32, 32));
    // One pixel over the edge limit, the whole level present.
    const std::uint32_t over = zarn::compressedLevelSize(zarn::maxDdsEdge + 1, 4, 8);
    expectEmpty(ddsFile(zarn::maxDdsEdge + 1, 4, "DXT1", over, over));
    expectEmpty(ddsFile(4, zarn::maxDdsEdge + 1, "DXT1", over, over));
    // 4 x (2^31 - 3) in DXT1 is 2^29 blocks of 8 bytes: 2^32 bytes, 0 in 32 bits.
    expectEmpty(ddsFile(4, 0x7FFFFFFD, "DXT1", 0, 0));
    expectEmpty(ddsFile(0xFFFFFFFF, 0xFFFFFFFF, "DXT5", 0xFFFFFFFF, 64)); // would overflow
}

TEST_F(DdsImageTest, LargestAcceptedEdgeLoads) {
    const std::uint32_t size = zarn::compressedLevelSize(zarn::maxDdsEdge, 4, 8);
    const DdsImage image = load(ddsFile(zarn::maxDdsEdge, 4, "DXT1", size, size));
    EXPECT_EQ(image.width, zarn::maxDdsEdge);
    EXPECT_EQ(image.size, size);
    const DdsImage tall = load(ddsFile(4, zarn::maxDdsEdge, "DXT1", size, size));
    EXPECT_EQ(tall.height, zarn::maxDdsEdge);
    EXPECT_EQ(tall.size, size);
}
