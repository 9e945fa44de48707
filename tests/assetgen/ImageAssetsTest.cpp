#include "AssetWriters.h"
#include "DdsWriter.h"
#include "HelpImage.h"
#include "ImageCanvas.h"
#include "PictureFlowBoard.h"

#include "render/DdsImage.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> ddsFiles = {
    "assets/textures/movingTiles/movingTiles_0.dds",
    "assets/textures/movingTiles/movingTiles_1.dds",
    "assets/textures/movingTiles/movingTiles_2.dds",
    "assets/textures/movingTiles/movingTiles_3.dds",
    "assets/textures/movingTiles/movingTiles_4.dds",
    "assets/textures/movingTiles/movingTiles_5.dds",
    "assets/textures/movingTiles/movingTiles_6.dds",
    "assets/textures/movingTiles/movingTiles_7.dds",
    "assets/textures/movingTiles/movingTiles_8.dds",
    "assets/textures/flowPuzzle/flow_playground.dds",
    "assets/textures/flowPuzzle/flow_playground_finished.dds",
    "assets/textures/riverCrossingGame/bluish.dds",
    "assets/textures/riverCrossingGame/yellow.dds",
    "assets/textures/riverCrossingGame/green.dds",
    "assets/textures/texture_gauss6.dds",
    "assets/textures/ballGame_red.dds",
    "assets/textures/ballGame_yellow.dds",
    "assets/textures/ballGame_bluish.dds",
    "assets/textures/ballGame_flieder.dds",
    "assets/textures/black.dds",
    "assets/textures/shadow_pseudo_texture.dds",
};

const std::vector<std::string> otherImageFiles = {
    "assets/textures/cubemapNew/right.jpg",
    "assets/textures/cubemapNew/left.jpg",
    "assets/textures/cubemapNew/top.jpg",
    "assets/textures/cubemapNew/bottom.jpg",
    "assets/textures/cubemapNew/front.jpg",
    "assets/textures/cubemapNew/back.jpg",
    "assets/textures/particleSystem/particle_full.png",
    "assets/textures/particleSystem/particle.png",
    "assets/textures/hud_controls.png",
};

using Colour = std::array<float, 3>;

// An RGBA picture with rows top first, values 0..1.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::array<float, 4>> pixels;

    const std::array<float, 4>& at(int x, int y) const {
        return pixels[std::size_t(y) * width + x];
    }

    // Mean colour of the (2r+1)^2 pixels around (x, y).
    Colour around(int x, int y, int r) const {
        Colour sum{};
        int count = 0;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const auto& p =
                    at(std::clamp(x + dx, 0, width - 1), std::clamp(y + dy, 0, height - 1));
                for (int c = 0; c < 3; ++c)
                    sum[c] += p[c];
                ++count;
            }
        for (float& c : sum)
            c /= float(count);
        return sum;
    }

    Colour mean() const {
        Colour sum{};
        for (const auto& p : pixels)
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c];
        for (float& c : sum)
            c /= float(pixels.size());
        return sum;
    }
};

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
           std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::array<float, 4> expand565(std::uint16_t c) {
    const int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return {float((r << 3) | (r >> 2)) / 255.0f, float((g << 2) | (g >> 4)) / 255.0f,
            float((b << 3) | (b >> 2)) / 255.0f, 1.0f};
}

// A plain DXT1 decoder, written from the block format itself.
Picture decodeDxt1(const std::uint8_t* data, int width, int height) {
    Picture picture{width, height, std::vector<std::array<float, 4>>(std::size_t(width) * height)};
    const std::uint8_t* block = data;
    for (int by = 0; by < height; by += 4)
        for (int bx = 0; bx < width; bx += 4, block += 8) {
            const std::uint16_t c0 = std::uint16_t(block[0] | block[1] << 8);
            const std::uint16_t c1 = std::uint16_t(block[2] | block[3] << 8);
            std::array<std::array<float, 4>, 4> palette{expand565(c0), expand565(c1)};
            for (int c = 0; c < 3; ++c) {
                if (c0 > c1) {
                    palette[2][c] = (2.0f * palette[0][c] + palette[1][c]) / 3.0f;
                    palette[3][c] = (palette[0][c] + 2.0f * palette[1][c]) / 3.0f;
                } else {
                    palette[2][c] = (palette[0][c] + palette[1][c]) / 2.0f;
                    palette[3][c] = 0.0f;
                }
            }
            palette[2][3] = 1.0f;
            palette[3][3] = c0 > c1 ? 1.0f : 0.0f;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    const int index = (block[4 + y] >> (2 * x)) & 3;
                    if (bx + x < width && by + y < height)
                        picture.pixels[std::size_t(by + y) * width + bx + x] = palette[index];
                }
        }
    return picture;
}

// Loads a DDS file the way the game does and decodes its top level.
Picture loadDdsPicture(const std::string& path) {
    const zarn::DdsImage image = zarn::loadDds(path.c_str());
    EXPECT_FALSE(image.empty()) << path;
    if (image.empty())
        return {};
    return decodeDxt1(image.data.get(), int(image.width), int(image.height));
}

Picture loadImageFile(const std::string& path, int& channels) {
    int width = 0, height = 0;
    std::uint8_t* data = stbi_load(path.c_str(), &width, &height, &channels, 4);
    EXPECT_NE(data, nullptr) << path;
    Picture picture{width, height, std::vector<std::array<float, 4>>(std::size_t(width) * height)};
    if (!data)
        return picture;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        for (int c = 0; c < 4; ++c)
            picture.pixels[i][c] = float(data[i * 4 + c]) / 255.0f;
    stbi_image_free(data);
    return picture;
}

float distance(const Colour& a, const Colour& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

float luma(const std::array<float, 4>& p) {
    return 0.3f * p[0] + 0.59f * p[1] + 0.11f * p[2];
}

std::string describe(const Colour& c) {
    std::ostringstream text;
    text << "(" << c[0] << ", " << c[1] << ", " << c[2] << ")";
    return text.str();
}

Colour paletteColour(int value) {
    const auto& c = assetgen::flowPalette[value];
    return {c[0], c[1], c[2]};
}

// The texel where the centre of flow cell (row, column) lands. The board's +x
// face maps u = (z + 1.5) / 3 and v = (y + 1.5) / 3, v = 0 being the first
// stored row; the cell is centred at y = 1 - 0.5 row, z = 1 - 0.5 column.
std::pair<int, int> flowCellTexel(const Picture& board, int row, int column) {
    const float y = 1.0f - 0.5f * row;
    const float z = 1.0f - 0.5f * column;
    const float u = (z + 1.5f) / 3.0f;
    const float v = (y + 1.5f) / 3.0f;
    return {int(u * board.width), int(v * board.height)};
}

// DXT1 keeps colours to within a few 565 steps; patches are averaged first.
constexpr float dxtTolerance = 0.06f;

} // namespace

TEST(ImageAssetTree, EveryImageFileExists) {
    for (const auto& list : {ddsFiles, otherImageFiles})
        for (const std::string& path : list) {
            EXPECT_TRUE(fs::is_regular_file(path)) << path;
            EXPECT_GT(fs::exists(path) ? fs::file_size(path) : 0u, 128u) << path;
        }
}

TEST(DdsTextures, ParseWithTheGameReaderAndCarryAConsistentHeader) {
    for (const std::string& path : ddsFiles) {
        SCOPED_TRACE(path);
        const zarn::DdsImage image = zarn::loadDds(path.c_str());
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(image.format, 0x83F1u); // DXT1
        EXPECT_TRUE(std::has_single_bit(image.width)) << image.width;
        EXPECT_TRUE(std::has_single_bit(image.height)) << image.height;
        EXPECT_EQ(image.size, ((image.width + 3) / 4) * ((image.height + 3) / 4) * 8);

        const std::vector<std::uint8_t> bytes = readFile(path);
        ASSERT_GE(bytes.size(), 128u + image.size);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "DDS ");
        EXPECT_EQ(read32(bytes, 4), 124u);
        const std::uint32_t flags = read32(bytes, 8);
        EXPECT_EQ(flags & 0x1007u, 0x1007u) << "caps, height, width and pixel format";
        EXPECT_TRUE(flags & 0x80000u) << "linear size";
        EXPECT_EQ(read32(bytes, 12), image.height);
        EXPECT_EQ(read32(bytes, 16), image.width);
        EXPECT_EQ(read32(bytes, 20), image.size);
        EXPECT_EQ(read32(bytes, 76), 32u);
        EXPECT_TRUE(read32(bytes, 80) & 0x4u) << "FourCC flag";
        EXPECT_EQ(std::string(bytes.begin() + 84, bytes.begin() + 88), "DXT1");
        EXPECT_TRUE(read32(bytes, 108) & 0x1000u) << "texture caps";

        // With a mip chain every level down to 1 x 1 must be there, and nothing more.
        std::size_t expected = 128 + image.size;
        if (flags & 0x20000u) {
            const std::uint32_t levels = read32(bytes, 28);
            EXPECT_EQ(levels, std::uint32_t(std::bit_width(std::max(image.width, image.height))));
            expected = 128;
            std::uint32_t w = image.width, h = image.height;
            for (std::uint32_t level = 0; level < levels; ++level) {
                expected += ((w + 3) / 4) * ((h + 3) / 4) * 8;
                w = std::max(1u, w / 2);
                h = std::max(1u, h / 2);
            }
        }
        EXPECT_EQ(bytes.size(), expected);
    }
}

TEST(DdsTextures, MaterialsHaveTheColourTheirNameAndUsePromise) {
    const struct {
        const char* path;
        const char* meaning;
        std::function<bool(const Colour&)> holds;
    } cases[] = {
        {"assets/textures/riverCrossingGame/bluish.dds", "blue water",
         [](const Colour& c) {
             return c[2] > c[0] + 0.2f && c[2] > c[1];
         }},
        {"assets/textures/riverCrossingGame/yellow.dds", "yellow sand",
         [](const Colour& c) {
             return c[0] > c[2] + 0.2f && c[1] > c[2] + 0.1f;
         }},
        {"assets/textures/riverCrossingGame/green.dds", "green grass",
         [](const Colour& c) {
             return c[1] > c[0] + 0.1f && c[1] > c[2] + 0.1f;
         }},
        {"assets/textures/ballGame_red.dds", "red pits",
         [](const Colour& c) {
             return c[0] > c[1] + 0.25f && c[0] > c[2] + 0.25f;
         }},
        {"assets/textures/ballGame_yellow.dds", "yellow floor",
         [](const Colour& c) {
             return c[0] > c[2] + 0.25f && c[1] > c[2] + 0.15f;
         }},
        {"assets/textures/ballGame_bluish.dds", "bluish platforms",
         [](const Colour& c) {
             return c[2] > c[0] + 0.2f && c[2] > c[1];
         }},
        {"assets/textures/ballGame_flieder.dds", "lilac walls",
         [](const Colour& c) {
             return c[0] > c[1] + 0.05f && c[2] > c[1] + 0.05f;
         }},
        {"assets/textures/texture_gauss6.dds", "a mostly blue marble",
         [](const Colour& c) {
             return c[2] > c[0] + 0.1f;
         }},
        {"assets/textures/black.dds", "black outline",
         [](const Colour& c) {
             return std::max({c[0], c[1], c[2]}) < 0.02f;
         }},
    };
    for (const auto& c : cases) {
        const Picture picture = loadDdsPicture(c.path);
        ASSERT_GT(picture.width, 0) << c.path;
        const Colour mean = picture.mean();
        EXPECT_TRUE(c.holds(mean))
            << c.path << " should be " << c.meaning << ", its mean colour is " << describe(mean);
    }
}

TEST(FlowBoards, TablesDescribeFivePairsJoinedByTheSolution) {
    std::array<int, 6> ends{};
    for (int i = 0; i < assetgen::flowBoardCells; ++i)
        for (int j = 0; j < assetgen::flowBoardCells; ++j) {
            const int start = assetgen::flowStartCells[i][j];
            const int solved = assetgen::flowSolution[i][j];
            ASSERT_TRUE(solved >= 1 && solved <= 5) << i << ", " << j;
            if (start != 0) {
                EXPECT_EQ(start, solved) << "end cell " << i << ", " << j;
                ++ends[start];
            }
        }
    for (int value = 1; value <= 5; ++value)
        EXPECT_EQ(ends[value], 2) << "colour " << value;
}

TEST(FlowBoards, EndDotsShowTheirColourWhereTheBoardFaceMapsTheCell) {
    for (const char* path : {"assets/textures/flowPuzzle/flow_playground.dds",
                             "assets/textures/flowPuzzle/flow_playground_finished.dds"}) {
        const Picture board = loadDdsPicture(path);
        ASSERT_GT(board.width, 0) << path;
        for (int i = 0; i < assetgen::flowBoardCells; ++i)
            for (int j = 0; j < assetgen::flowBoardCells; ++j) {
                const int value = assetgen::flowStartCells[i][j];
                if (value == 0)
                    continue;
                const auto [x, y] = flowCellTexel(board, i, j);
                const Colour seen = board.around(x, y, 1);
                EXPECT_LT(distance(seen, paletteColour(value)), dxtTolerance)
                    << path << ": cell " << i << ", " << j << " shows " << describe(seen)
                    << " instead of colour " << value;
            }
    }
}

TEST(FlowBoards, FinishedBoardShowsTheSolutionInEveryCell) {
    const Picture board = loadDdsPicture("assets/textures/flowPuzzle/flow_playground_finished.dds");
    ASSERT_GT(board.width, 0);
    for (int i = 0; i < assetgen::flowBoardCells; ++i)
        for (int j = 0; j < assetgen::flowBoardCells; ++j) {
            const auto [x, y] = flowCellTexel(board, i, j);
            const Colour seen = board.around(x, y, 1);
            EXPECT_LT(distance(seen, paletteColour(assetgen::flowSolution[i][j])), dxtTolerance)
                << "cell " << i << ", " << j << " shows " << describe(seen);
        }
}

TEST(FlowBoards, EmptyCellsContrastWithEveryPaletteColour) {
    const Picture board = loadDdsPicture("assets/textures/flowPuzzle/flow_playground.dds");
    ASSERT_GT(board.width, 0);
    int empty = 0;
    for (int i = 0; i < assetgen::flowBoardCells; ++i)
        for (int j = 0; j < assetgen::flowBoardCells; ++j) {
            if (assetgen::flowStartCells[i][j] != 0)
                continue;
            ++empty;
            const auto [x, y] = flowCellTexel(board, i, j);
            const Colour background = board.around(x, y, 2);
            for (int value = 1; value <= 5; ++value)
                EXPECT_GT(distance(background, paletteColour(value)), 0.3f)
                    << "cell " << i << ", " << j << " against colour " << value;
        }
    EXPECT_EQ(empty, 15);
}

TEST(SlidingTiles, TouchingEdgesContinueThePicture) {
    std::vector<Picture> tiles;
    for (int k = 0; k < 9; ++k) {
        tiles.push_back(loadDdsPicture("assets/textures/movingTiles/movingTiles_" +
                                       std::to_string(k) + ".dds"));
        ASSERT_GT(tiles.back().width, 0);
        ASSERT_EQ(tiles.back().width, tiles.front().width);
        ASSERT_EQ(tiles.back().height, tiles.front().width);
    }
    const int size = tiles.front().width;
    // How well b continues a to the right (or downwards): lines just inside
    // each tile, clear of the bevel, compared along the whole edge.
    const int inset = size / 16;
    auto seam = [&](const Picture& a, const Picture& b, bool horizontal) {
        float sum = 0.0f;
        for (int k = 0; k < size; ++k) {
            const auto& pa = horizontal ? a.at(size - 1 - inset, k) : a.at(k, size - 1 - inset);
            const auto& pb = horizontal ? b.at(inset, k) : b.at(k, inset);
            for (int c = 0; c < 3; ++c)
                sum += std::abs(pa[c] - pb[c]);
        }
        return sum / float(size);
    };
    // All twelve seams of the board with tile order[s] in slot s.
    auto seams = [&](const std::array<int, 9>& order) {
        float sum = 0.0f;
        for (int slot = 0; slot < 9; ++slot) {
            if (slot % 3 < 2)
                sum += seam(tiles[order[slot]], tiles[order[slot + 1]], true);
            if (slot < 6)
                sum += seam(tiles[order[slot]], tiles[order[slot + 3]], false);
        }
        return sum;
    };
    const std::array<int, 9> inOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const float fit = seams(inOrder);
    // Single seams can mislead where the picture is nearly symmetric, so the
    // whole board is judged: every exchange of two tiles, and the split taken
    // column by column, must fit worse than tile k in slot k.
    for (int a = 0; a < 9; ++a)
        for (int b = a + 1; b < 9; ++b) {
            std::array<int, 9> swapped = inOrder;
            std::swap(swapped[a], swapped[b]);
            EXPECT_LT(fit, seams(swapped))
                << "tiles " << a << " and " << b << " fit better swapped";
        }
    EXPECT_LT(fit, seams({0, 3, 6, 1, 4, 7, 2, 5, 8}));
}

TEST(SlidingTiles, EveryTileHasALitTopAndAShadedBottomBorder) {
    float top = 0.0f, bottom = 0.0f, inside = 0.0f;
    for (int k = 0; k < 9; ++k) {
        const Picture tile =
            loadDdsPicture("assets/textures/movingTiles/movingTiles_" + std::to_string(k) + ".dds");
        ASSERT_GT(tile.width, 0);
        const int size = tile.width;
        for (int x = size / 8; x < size - size / 8; ++x) {
            top += luma(tile.at(x, 2));
            bottom += luma(tile.at(x, size - 3));
            inside += 0.5f * (luma(tile.at(x, size / 8)) + luma(tile.at(x, size - 1 - size / 8)));
        }
    }
    EXPECT_GT(top, inside * 1.05f);
    EXPECT_LT(bottom, inside * 0.95f);
}

TEST(ParticleSprites, AreRoundPremultipliedRgbaPoints) {
    std::array<float, 2> alphaAtHalfRadius{};
    int index = 0;
    for (const char* path : {"assets/textures/particleSystem/particle_full.png",
                             "assets/textures/particleSystem/particle.png"}) {
        SCOPED_TRACE(path);
        int channels = 0;
        const Picture sprite = loadImageFile(path, channels);
        ASSERT_GT(sprite.width, 0);
        EXPECT_EQ(channels, 4);
        EXPECT_EQ(sprite.width, sprite.height);
        const int n = sprite.width;
        for (int k = 0; k < n; ++k)
            for (const auto& p :
                 {sprite.at(k, 0), sprite.at(k, n - 1), sprite.at(0, k), sprite.at(n - 1, k)})
                EXPECT_EQ(std::max({p[0], p[1], p[2], p[3]}), 0.0f) << "border pixel " << k;
        const auto& centre = sprite.at(n / 2, n / 2);
        EXPECT_GT(centre[3], 0.97f);
        EXPECT_GT(std::min({centre[0], centre[1], centre[2]}), 0.97f);
        // Premultiplied: no channel is brighter than the coverage.
        for (const auto& p : sprite.pixels)
            EXPECT_LE(std::max({p[0], p[1], p[2]}), p[3] + 1.0f / 255.0f);
        alphaAtHalfRadius[index++] = sprite.at(n / 2 + n / 4, n / 2)[3];
    }
    EXPECT_GT(alphaAtHalfRadius[0], alphaAtHalfRadius[1] + 0.2f)
        << "the emitters' disc should be fuller than the water's glow";
}

TEST(HelpImage, IsAnOpaqueLightPanelWithEveryLineOfDarkText) {
    int channels = 0;
    const Picture help = loadImageFile("assets/textures/hud_controls.png", channels);
    ASSERT_GT(help.width, 0);
    EXPECT_NEAR(help.width, 600, 60);
    EXPECT_NEAR(help.height, 400, 40);
    EXPECT_TRUE(channels == 3 || channels == 4);
    int light = 0;
    for (const auto& p : help.pixels) {
        EXPECT_EQ(p[3], 1.0f);
        if (luma(p) > 0.85f)
            ++light;
    }
    EXPECT_GT(light, int(help.pixels.size()) / 3) << "a light panel";

    // Rows of the panel body holding dark text pixels form one band per line;
    // a gap of a few rows (under thin descenders) does not end a band.
    int bands = 0;
    int lastDarkRow = -100;
    for (int y = help.height / 5; y < help.height - 12; ++y) {
        int dark = 0;
        for (int x = 30; x < help.width - 30; ++x)
            if (luma(help.at(x, y)) < 0.35f)
                ++dark;
        if (dark < 3)
            continue;
        if (y - lastDarkRow > 5)
            ++bands;
        lastDarkRow = y;
    }
    EXPECT_EQ(bands, int(assetgen::helpEntries.size()));
}

TEST(ImageWriter, FailsCleanlyOnAMissingFontOrAnUnusableRoot) {
    zarn::test::TempDirectory directory;
    EXPECT_FALSE(assetgen::writeImageAssets(directory.path(), directory.path() / "missing.ttf"));
    EXPECT_FALSE(fs::exists(directory.path() / "textures"));

    const fs::path blocker = directory.write("file", std::string("not a directory"));
    EXPECT_FALSE(assetgen::writeImageAssets(blocker / "assets", ZARN_FONT_FILE));
}

TEST(ImageWriter, DdsWriterRefusesEdgesThatAreNotPowersOfTwo) {
    zarn::test::TempDirectory directory;
    const fs::path path = directory.path() / "odd.dds";
    EXPECT_FALSE(assetgen::writeDxt1Dds(path, assetgen::ImageCanvas(12, 8)));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(assetgen::writeDxt1Dds(path, assetgen::ImageCanvas(2, 8)));
    const zarn::DdsImage image = zarn::loadDds(path.string().c_str());
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 8u);
    EXPECT_EQ(image.size, 16u);
}
