#include "PictureFlowBoard.h"

#include "render/DdsImage.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <array>

// Draws the generated tile and flow-board textures on the box faces the game
// puts them on, seen from the player's side, and checks that the pictures
// come out upright and unmirrored.

using namespace zarn;

namespace {

struct FaceVertex {
    glm::vec3 position;
    glm::vec2 uv;
};
using Face = std::array<FaceVertex, 6>;

// Corners of a box face scaled by the half extents h, with the texture
// coordinates the game's box generator gives every face.
Face makeFace(const std::array<glm::vec3, 6>& corners, const glm::vec3& h) {
    constexpr std::array<glm::vec2, 6> uvs = {{{1, 0}, {0, 0}, {0, 1}, {0, 1}, {1, 1}, {1, 0}}};
    Face face;
    for (int i = 0; i < 6; ++i)
        face[i] = {corners[i] * h, uvs[i]};
    return face;
}
Face frontFace(const glm::vec3& h) {
    return makeFace({{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}}}, h);
}
Face rightFace(const glm::vec3& h) {
    return makeFace({{{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}}, h);
}

class BoardOrientationGLTest : public testing::Test {
protected:
    void SetUp() override {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
        glBindVertexArray(vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(FaceVertex), nullptr);
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(FaceVertex),
                              reinterpret_cast<void*>(sizeof(glm::vec3)));
        glUseProgram(shader.programId);
        glEnable(GL_CULL_FACE);
    }

    // Uploads a DDS file the way a textured material does.
    GLuint upload(const std::string& path) {
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

    void draw(const Face& face, const glm::mat4& model, GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glBufferData(GL_ARRAY_BUFFER, sizeof(Face), face.data(), GL_STREAM_DRAW);
        shader.setUniform("transform", viewProjection * model);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }

    void lookFrom(const glm::vec3& eye) {
        viewProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f) *
                         glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
    }

    // Colour on screen at a world point.
    glm::vec3 colourAt(const std::vector<std::uint8_t>& pixels, const glm::vec3& world) const {
        const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
        const glm::ivec2 p((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * 800.0f);
        const std::uint8_t* rgba = &pixels[(std::size_t(p.y) * 800 + p.x) * 4];
        return glm::vec3(rgba[0], rgba[1], rgba[2]) / 255.0f;
    }

    zarn::test::GLTestContext context;
    Shader shader{Shader::InlineSources{},
                  "#version 430 core\nlayout(location = 0) in vec3 position;\n"
                  "layout(location = 2) in vec2 uv;\nuniform mat4 transform;\nout vec2 st;\n"
                  "void main() { st = uv; gl_Position = transform * vec4(position, 1.0); }",
                  "#version 430 core\nin vec2 st;\nlayout(binding = 0) uniform sampler2D image;\n"
                  "out vec4 colour;\nvoid main() { colour = vec4(texture(image, st).rgb, 1.0); }"};
    GLuint vertexArray = 0, buffer = 0;
    glm::mat4 viewProjection{1.0f};
};

// The palette value (1..5) nearest to a colour.
int nearestPaletteValue(const glm::vec3& colour) {
    const auto distance = [&](int value) {
        const auto& p = assetgen::flowPalette[value];
        return glm::length(colour - glm::vec3(p[0], p[1], p[2]));
    };
    int best = 1;
    for (int value = 2; value <= 5; ++value)
        best = distance(value) < distance(best) ? value : best;
    return best;
}

} // namespace

TEST_F(BoardOrientationGLTest, FlowBoardReadsUprightFromThePositiveXSide) {
    // The board box is 0.05 x 3 x 3 at x = 1.525; cell (i, j) lies at
    // y = 1 - 0.5 i, z = 1 - 0.5 j, and the player's right is -z.
    lookFrom({6.0f, 0.0f, 0.0f});
    for (const bool finished : {false, true}) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw(rightFace({0.025f, 1.5f, 1.5f}), glm::translate(glm::mat4(1.0f), {1.525f, 0, 0}),
             upload(finished ? "assets/textures/flowPuzzle/flow_playground_finished.dds"
                             : "assets/textures/flowPuzzle/flow_playground.dds"));
        const auto pixels = zarn::test::readPixels(0, 0, 800, 800);
        const auto& expected = finished ? assetgen::flowSolution : assetgen::flowStartCells;
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 5; ++j) {
                if (expected[i][j] == 0)
                    continue;
                const glm::vec3 cell(1.55f, 1.0f - 0.5f * i, 1.0f - 0.5f * j);
                EXPECT_EQ(nearestPaletteValue(colourAt(pixels, cell)), expected[i][j])
                    << (finished ? "finished" : "start") << " board, cell " << i << ", " << j;
            }
    }
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(BoardOrientationGLTest, TilesInTheirSlotsShowThePictureUpright) {
    // Solved board: tile k in slot k, turned by half a turn about z as the
    // game places it; the player looks at the front face.
    lookFrom({0.0f, 0.0f, 6.0f});
    std::array<std::vector<std::uint8_t>, 9> images;
    int size = 0;
    for (int k = 0; k < 9; ++k) {
        const GLuint texture =
            upload("assets/textures/movingTiles/movingTiles_" + std::to_string(k) + ".dds");
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size);
        images[k].resize(std::size_t(size) * size * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, images[k].data());
        const glm::mat4 slot =
            glm::translate(glm::mat4(1.0f), {k % 3 - 1.0f, 1.0f - k / 3, 1.625f});
        draw(frontFace({0.5f, 0.5f, 0.125f}), glm::rotate(slot, glm::pi<float>(), {0, 0, 1}),
             texture);
    }
    const auto pixels = zarn::test::readPixels(0, 0, 800, 800);

    // Compare the screen with each stored image (row 0 = top) on a grid of
    // points; a flipped, mirrored or misplaced tile is far off.
    float error = 0.0f;
    for (int k = 0; k < 9; ++k)
        for (int sy = 1; sy < 8; ++sy)
            for (int sx = 1; sx < 8; ++sx) {
                const float u = sx / 8.0f, v = sy / 8.0f;
                const std::uint8_t* texel =
                    &images[k][(std::size_t(v * size) * size + std::size_t(u * size)) * 4];
                const glm::vec3 world(k % 3 - 0.5f + u - 1.0f, 1.5f - k / 3 - v, 1.75f);
                error += glm::length(colourAt(pixels, world) -
                                     glm::vec3(texel[0], texel[1], texel[2]) / 255.0f);
            }
    EXPECT_LT(error / (9 * 49), 0.08f);
    EXPECT_TRUE(context.debugMessages().empty());
}
