#include "PictureFlowBoard.h"

#include "render/DdsImage.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

// Renders the generated tile and flow-board textures on the box faces that
// the game puts them on, seen from where the player sees them, and checks
// that the pictures come out upright and unmirrored.

using namespace zarn;
using zarn::test::GLTestContext;
using zarn::test::readPixels;

namespace {

struct FaceVertex {
    glm::vec3 position;
    glm::vec2 uv;
};

// The front (+z) and right (+x) faces of a box with half extents h, with the
// texture coordinates the game's box generator gives them.
constexpr std::array<glm::vec2, 6> faceUvs = {{{1, 0}, {0, 0}, {0, 1}, {0, 1}, {1, 1}, {1, 0}}};

std::array<FaceVertex, 6> frontFace(const glm::vec3& h) {
    const std::array<glm::vec3, 6> corners = {{{-h.x, -h.y, h.z},
                                               {h.x, -h.y, h.z},
                                               {h.x, h.y, h.z},
                                               {h.x, h.y, h.z},
                                               {-h.x, h.y, h.z},
                                               {-h.x, -h.y, h.z}}};
    std::array<FaceVertex, 6> face;
    for (int i = 0; i < 6; ++i)
        face[i] = {corners[i], faceUvs[i]};
    return face;
}

std::array<FaceVertex, 6> rightFace(const glm::vec3& h) {
    const std::array<glm::vec3, 6> corners = {{{h.x, -h.y, h.z},
                                               {h.x, -h.y, -h.z},
                                               {h.x, h.y, -h.z},
                                               {h.x, h.y, -h.z},
                                               {h.x, h.y, h.z},
                                               {h.x, -h.y, h.z}}};
    std::array<FaceVertex, 6> face;
    for (int i = 0; i < 6; ++i)
        face[i] = {corners[i], faceUvs[i]};
    return face;
}

const char* const vertexSource = R"(#version 430 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec2 uv;
uniform mat4 transform;
out vec2 texCoord;
void main() { texCoord = uv; gl_Position = transform * vec4(position, 1.0); }
)";

const char* const fragmentSource = R"(#version 430 core
in vec2 texCoord;
layout(binding = 0) uniform sampler2D picture;
out vec4 colour;
void main() { colour = vec4(texture(picture, texCoord).rgb, 1.0); }
)";

// Uploads a DDS file the way a textured material does.
GLuint uploadDds(const std::string& path) {
    const DdsImage image = loadDds(path.c_str());
    EXPECT_FALSE(image.empty()) << path;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, GLsizei(image.width),
                           GLsizei(image.height), 0, GLsizei(image.size), image.data.get());
    glGenerateMipmap(GL_TEXTURE_2D);
    return texture;
}

class BoardOrientationGLTest : public testing::Test {
protected:
    void SetUp() override {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
        glBindVertexArray(vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(FaceVertex) * 6, nullptr, GL_DYNAMIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(FaceVertex), nullptr);
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(FaceVertex),
                              reinterpret_cast<void*>(sizeof(glm::vec3)));
        glUseProgram(shader.programId);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void draw(const std::array<FaceVertex, 6>& face, const glm::mat4& model, GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(FaceVertex) * 6, face.data());
        shader.setUniform("transform", viewProjection * model);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }

    // Window pixel (bottom-left origin) of a world point.
    glm::ivec2 project(const glm::vec3& world) const {
        const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return glm::ivec2((ndc * 0.5f + 0.5f) * 800.0f);
    }

    void lookFrom(const glm::vec3& eye) {
        viewProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f) *
                         glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
    }

    GLTestContext context;
    Shader shader{Shader::InlineSources{}, vertexSource, fragmentSource};
    GLuint vertexArray = 0, buffer = 0;
    glm::mat4 viewProjection{1.0f};
};

glm::vec3 pixelAt(const std::vector<std::uint8_t>& pixels, glm::ivec2 p) {
    const std::uint8_t* rgba = &pixels[(std::size_t(p.y) * 800 + p.x) * 4];
    return glm::vec3(rgba[0], rgba[1], rgba[2]) / 255.0f;
}

// The palette value (1..5) nearest to a colour.
int nearestPaletteValue(const glm::vec3& colour) {
    int best = 0;
    float bestDistance = 1e9f;
    for (int value = 1; value <= 5; ++value) {
        const auto& p = assetgen::flowPalette[value];
        const float distance = glm::length(colour - glm::vec3(p[0], p[1], p[2]));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = value;
        }
    }
    return best;
}

} // namespace

TEST_F(BoardOrientationGLTest, FlowBoardReadsUprightFromThePositiveXSide) {
    for (const bool finished : {false, true}) {
        const GLuint texture =
            uploadDds(finished ? "assets/textures/flowPuzzle/flow_playground_finished.dds"
                               : "assets/textures/flowPuzzle/flow_playground.dds");
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        // The board box is 0.05 x 3 x 3 at x = 1.525; the player looks at its +x face.
        lookFrom({6.0f, 0.0f, 0.0f});
        draw(rightFace({0.025f, 1.5f, 1.5f}), glm::translate(glm::mat4(1.0f), {1.525f, 0, 0}),
             texture);
        const auto pixels = readPixels(0, 0, 800, 800);

        const auto& expected = finished ? assetgen::flowSolution : assetgen::flowStartCells;
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 5; ++j) {
                if (expected[i][j] == 0)
                    continue;
                // Cell (i, j) lies at y = 1 - 0.5 i, z = 1 - 0.5 j; the player's
                // right is -z, so row 0 is on top and column 0 on the left.
                const glm::ivec2 p = project({1.55f, 1.0f - 0.5f * i, 1.0f - 0.5f * j});
                EXPECT_EQ(nearestPaletteValue(pixelAt(pixels, p)), expected[i][j])
                    << (finished ? "finished" : "start") << " board, cell " << i << ", " << j;
            }
        // Cell (0, 0) really is on the viewer's upper left.
        const glm::ivec2 topLeft = project({1.55f, 1.0f, 1.0f});
        EXPECT_LT(topLeft.x, 400);
        EXPECT_GT(topLeft.y, 400);
        glDeleteTextures(1, &texture);
    }
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(BoardOrientationGLTest, TilesInTheirSlotsShowThePictureUpright) {
    std::array<GLuint, 9> textures{};
    std::array<std::vector<std::uint8_t>, 9> images;
    int size = 0;
    for (int k = 0; k < 9; ++k) {
        textures[k] =
            uploadDds("assets/textures/movingTiles/movingTiles_" + std::to_string(k) + ".dds");
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size);
        images[k].resize(std::size_t(size) * size * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, images[k].data());
    }

    // Solved board: tile k in slot k, each turned by half a turn about z as
    // the game places it; the player looks at the front face.
    lookFrom({0.0f, 0.0f, 6.0f});
    for (int k = 0; k < 9; ++k) {
        const int row = k / 3, column = k % 3;
        const glm::mat4 pose =
            glm::rotate(glm::translate(glm::mat4(1.0f), {column - 1.0f, 1.0f - row, 1.625f}),
                        glm::pi<float>(), glm::vec3(0, 0, 1));
        draw(frontFace({0.5f, 0.5f, 0.125f}), pose, textures[k]);
    }
    const auto pixels = readPixels(0, 0, 800, 800);

    // Compare the screen with each tile's stored image (row 0 = top) at a
    // grid of points inside the bevel. JPEG-free DXT1 data and linear
    // filtering keep the honest error small; a flipped, mirrored or
    // misplaced tile is far off.
    float totalError = 0.0f;
    int samples = 0;
    for (int k = 0; k < 9; ++k) {
        const int row = k / 3, column = k % 3;
        for (int sy = 1; sy < 8; ++sy)
            for (int sx = 1; sx < 8; ++sx) {
                const float u = sx / 8.0f, v = sy / 8.0f; // v from the image's top
                const glm::vec3 world(column - 1.0f + (u - 0.5f), 1.0f - row + (0.5f - v), 1.75f);
                const std::uint8_t* texel =
                    &images[k][(std::size_t(v * size) * size + std::size_t(u * size)) * 4];
                const glm::vec3 stored = glm::vec3(texel[0], texel[1], texel[2]) / 255.0f;
                totalError += glm::length(pixelAt(pixels, project(world)) - stored);
                ++samples;
            }
    }
    EXPECT_LT(totalError / float(samples), 0.08f);
    glDeleteTextures(9, textures.data());
    EXPECT_TRUE(context.debugMessages().empty());
}
