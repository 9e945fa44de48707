#include "DdsWriter.h"
#include "HelpImage.h"
#include "PictureFlowBoard.h"
#include "PictureIcon.h"
#include "render/DdsImage.h"
#include "support/TempDirectory.h"

#include <algorithm>
#include <bit>
#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <map>
#include <stb_image.h>

namespace {

// A picture decoded to RGBA bytes, rows top first; channels is what the file holds.
struct Image {
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<std::uint8_t, void (*)(void*)> data;
    explicit Image(const std::string& path)
        : data(stbi_load(path.c_str(), &width, &height, &channels, 4), stbi_image_free) {}
    const std::uint8_t* at(int x, int y) const { return &data.get()[(y * width + x) * 4]; }
    int luma(int x, int y) const { return (3 * at(x, y)[0] + 6 * at(x, y)[1] + at(x, y)[2]) / 10; }
};

// OpenGL's cube faces in upload order: the axis each faces, then the axes its x and y follow;
// facePixel gives the pixel of face f that direction d points at, clamped to the face.
const char* const faceNames[6] = {"right", "left", "top", "bottom", "front", "back"};
const glm::vec3 axes[6][3] = {
    {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},   {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}}};

const std::uint8_t* facePixel(const Image& face, int f, glm::vec3 d) {
    auto at = [&](int axis) {
        const float s = glm::dot(d, axes[f][axis]) / glm::dot(d, axes[f][0]);
        return std::clamp(int((s + 1.0f) * 0.5f * float(face.width)), 0, face.width - 1);
    };
    return face.at(at(1), at(2));
}

} // namespace

TEST(ImageAssets, EveryDdsParsesToAPowerOfTwoImageThatFitsItsFile) {
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("assets/textures")) {
        if (entry.path().extension() != ".dds")
            continue;
        ++count;
        SCOPED_TRACE(entry.path().string());
        const zarn::DdsImage image = zarn::loadDds(entry.path().c_str());
        ASSERT_FALSE(image.empty());
        EXPECT_TRUE(std::has_single_bit(image.width) && std::has_single_bit(image.height))
            << image.width << " x " << image.height;
        EXPECT_GE(entry.file_size(), 128u + image.size);
    }
    EXPECT_EQ(count, 22);
}

TEST(ImageAssets, SkyFacesAreEqualSquaresThatMeetWithoutSeams) {
    std::vector<Image> faces;
    for (const char* name : faceNames) {
        faces.emplace_back(std::string("assets/textures/cubemapNew/") + name + ".jpg");
        ASSERT_EQ(faces.back().channels, 3) << name;
        ASSERT_EQ(faces.back().width, faces.front().width) << name;
        ASSERT_EQ(faces.back().height, faces.front().width) << name;
    }
    // Half a pixel beyond a border pixel lies the neighbour's border pixel: any seam shows.
    const int n = faces.front().width;
    for (int e = 0; e < 24; ++e) {
        int f = e / 4, edge = e % 4, sum = 0, g = 0;
        for (int k = 0; k < n; ++k) {
            const float along = (2.0f * k + 1.0f) / n - 1.0f;
            const float out = (edge % 2 ? 1.0f : -1.0f) * (1.0f + 1.0f / n);
            const auto d = axes[f][0] + out * axes[f][1 + edge / 2] + along * axes[f][2 - edge / 2];
            for (int h = 0; h < 6; ++h)
                g = glm::dot(d, axes[h][0]) > glm::dot(d, axes[g][0]) ? h : g;
            for (int c = 0; c < 3; ++c)
                sum += std::abs(facePixel(faces[f], f, d)[c] - facePixel(faces[g], g, d)[c]);
        }
        EXPECT_LT(sum / (3.0 * n), 2.0) << faceNames[f] << " edge " << edge;
    }
}

TEST(ImageAssets, SpritesAreRgbaWithATransparentRimAndABrightCentre) {
    for (const char* name : {"particle_full", "particle"}) {
        const Image sprite(std::string("assets/textures/particleSystem/") + name + ".png");
        ASSERT_EQ(sprite.channels, 4) << name;
        int w = sprite.width, h = sprite.height, rim = 0;
        for (int k = 0; k < w * h; ++k)
            rim |= k % w % (w - 1) && k / w % (h - 1) ? 0 : sprite.data.get()[k * 4 + 3];
        EXPECT_EQ(rim, 0) << name << " has a visible rim";
        const std::uint8_t* centre = sprite.at(w / 2, h / 2);
        EXPECT_GT(*std::min_element(centre, centre + 4), 245) << name << " centre";
    }
}

TEST(ImageAssets, FlowMarksPairTheEndsByShapeAlone) {
    // Cells of 64 pixels put every mark at the same sub-pixel phase.
    constexpr int cell = 64;
    const assetgen::ImageCanvas marks = assetgen::paintFlowMarks(6 * cell);
    // The white of each end's mark, by colour value; the picture is turned by half a turn.
    std::multimap<int, std::vector<bool>> whites;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) {
            if (assetgen::flowStartCells[i][j] == 0)
                continue;
            auto& white =
                whites.emplace(assetgen::flowStartCells[i][j], std::vector<bool>())->second;
            for (int k = 0; k < cell * cell; ++k) {
                const glm::vec4& p =
                    marks.at((9 - 2 * j) * cell / 2 + k % cell, (9 - 2 * i) * cell / 2 + k / cell);
                white.push_back(p.a > 0.5f && p.r > 0.5f);
            }
        }
    for (auto a = whites.begin(); a != whites.end(); ++a) {
        EXPECT_GT(std::count(a->second.begin(), a->second.end(), true), cell * cell / 20)
            << "colour " << a->first << " has no mark";
        for (auto b = std::next(a); b != whites.end(); ++b) {
            int differ = 0;
            for (int k = 0; k < cell * cell; ++k)
                differ += a->second[std::size_t(k)] != b->second[std::size_t(k)];
            // The closest pair, circle and square, differ in about 50 pixels.
            if (a->first == b->first)
                EXPECT_EQ(differ, 0) << "colour " << a->first << "'s ends differ";
            else
                EXPECT_GT(differ, cell * cell / 100)
                    << "colours " << a->first << " and " << b->first << " look alike";
        }
    }
}

TEST(ImageAssets, IconShowsThreeUnlikeFacesOnAClearGroundAtEverySize) {
    for (int size : assetgen::iconSizes) {
        SCOPED_TRACE(size);
        const assetgen::ImageCanvas icon = assetgen::paintIcon(size);
        for (int corner = 0; corner < 4; ++corner)
            EXPECT_EQ(icon.at(corner % 2 * (size - 1), corner / 2 * (size - 1)).a, 0.0f);
        // The top, left and right face as a corner and two edges, in fractions
        // of the icon's width; each one's mean colour over its inner part.
        const glm::vec2 outlines[3][3] = {{{0.5f, 0.04f}, {0.42f, 0.21f}, {-0.42f, 0.21f}},
                                          {{0.08f, 0.25f}, {0.42f, 0.21f}, {0.0f, 0.5f}},
                                          {{0.5f, 0.46f}, {0.42f, -0.21f}, {0.0f, 0.5f}}};
        glm::vec4 faces[3] = {};
        for (int f = 0; f < 3; ++f) {
            for (int k = 0; k < 49; ++k) {
                const glm::vec2 uv = glm::vec2(k % 7, k / 7) * 0.1f + 0.2f;
                const glm::vec2 p = outlines[f][0] + uv.x * outlines[f][1] + uv.y * outlines[f][2];
                faces[f] += icon.at(int(p.x * size), int(p.y * size)) / 49.0f;
            }
            EXPECT_NEAR(faces[f].a, 1.0f, 1e-5f) << "face " << f;
        }
        for (int f = 0; f < 3; ++f)
            EXPECT_GT(glm::distance(faces[f], faces[(f + 1) % 3]), 0.2f)
                << "faces " << f << " and " << (f + 1) % 3 << " look alike";
    }
}

TEST(ImageAssets, HelpImageShowsEveryLineInDarkTextOnALightPanel) {
    const Image help("assets/textures/hud_controls.png");
    // Drawn at (100, 100), it fits in the default 800 x 800 window.
    EXPECT_TRUE(help.width >= 500 && help.width <= 700 && help.height >= 400 && help.height <= 600)
        << help.width << " x " << help.height;
    // Below the title, rows holding dark pixels form one band per line of text.
    int light = 0, bands = 0, lastDark = -100;
    for (int y = 0; y < help.height; ++y) {
        int dark = 0;
        for (int x = 30; x < help.width - 30; ++x) {
            light += help.luma(x, y) > 216 && help.at(x, y)[3] == 255;
            dark += help.luma(x, y) < 90;
        }
        if (dark >= 3 && y > help.height / 5 && y < help.height - 12)
            bands += y - std::exchange(lastDark, y) > 5;
    }
    EXPECT_GT(light, help.width * help.height / 3);
    EXPECT_EQ(bands, int(assetgen::helpEntries.size()));
}

TEST(ImageAssets, DdsWriterRefusesEdgesThatAreNotPowersOfTwo) {
    zarn::test::TempDirectory directory;
    const auto path = directory.path() / "odd.dds";
    EXPECT_FALSE(assetgen::writeDxt1Dds(path, assetgen::ImageCanvas(12, 8)));
    EXPECT_FALSE(std::filesystem::exists(path));
}
