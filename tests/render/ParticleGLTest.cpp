#include "render/ParticleCloud.h"

#include "render/Shader.h"
#include "render/TextureLoaders.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

using namespace zarn;

namespace {

std::vector<float> readDepth() {
    std::vector<float> depth(128 * 128);
    glReadPixels(0, 0, 128, 128, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

// Whether any pixel is clearly brighter than the background.
bool anyBrighterPixel() {
    const auto pixels = zarn::test::readPixels(0, 0, 128, 128);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] + pixels[i + 1] + pixels[i + 2] > 51 + 102 + 153 + 30)
            return true;
    return false;
}

GLint integer(GLenum state) {
    GLint value = -1;
    glGetIntegerv(state, &value);
    return value;
}

std::shared_ptr<Shader> program(Program which, const glm::mat4& viewProjection) {
    auto shader = makeProgram(which);
    glUseProgram(shader->programId);
    shader->setUniform("viewProjMatrix", viewProjection);
    return shader;
}

} // namespace

// The emitter's sprites are checked against the sky in SkyboxGLTest; both
// kinds share their draw, and the cloud must come through it the same way.
TEST(ParticleGLTest, TheCloudDrawsFromUnitZeroWithoutWritingDepth) {
    zarn::test::GLTestContext context{128, 128, 0};
    // The river seen face on, its water surface at a depth of about 0.48.
    glm::mat4 riverView(0.0f);
    riverView[2][0] = 2.0f;
    riverView[1][1] = 1.0f / 1.5f;
    riverView[0][2] = 1.0f;
    riverView[3] = glm::vec4(0, 0, 1.6f, 1);
    ParticleCloud cloud(program(Program::ParticleFlow, riverView), glm::mat4(1.0f), 2000,
                        "assets/textures/particleSystem/particle.png");

    // The cloud draws in front of this depth.
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClearDepth(0.75);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const std::vector<float> clearedDepth = readDepth();
    // A complete blank texture on unit 0 hides any sprite drawn with it;
    // the frame leaves unit 2 active with another texture bound.
    const std::vector<std::uint8_t> blank(4 * 4 * 4, 0);
    GLTexture decoys[2] = {GLTexture::generate(), GLTexture::generate()};
    for (int unit : {0, 2}) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, decoys[unit / 2].id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, blank.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }

    cloud.draw(0.3f);
    EXPECT_TRUE(anyBrighterPixel());
    EXPECT_TRUE(readDepth() == clearedDepth) << "the cloud wrote depth";
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_TRUE(context.debugMessages().empty()) << testing::PrintToString(context.debugMessages());
}

TEST(ParticleGLTest, SpritesLoadAsRgbaAndAMissingOneIsReported) {
    zarn::test::GLTestContext context;
    zarn::test::TempDirectory directory;
    std::vector<std::uint8_t> rgb(5 * 3 * 3); // odd width: rows not 4-byte aligned
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = std::uint8_t(i * 37 + 5);
    const std::string path = (directory.path() / "sprite.png").string();
    ASSERT_TRUE(stbi_write_png(path.c_str(), 5, 3, 3, rgb.data(), 5 * 3));
    GLTexture texture = GLTexture::adopt(loadParticleTexture(path));
    glBindTexture(GL_TEXTURE_2D, texture.id());
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_RGBA);
    std::vector<std::uint8_t> rgba(5 * 3 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (std::size_t i = 0; i < rgba.size(); ++i)
        ASSERT_EQ(rgba[i], i % 4 == 3 ? 255 : rgb[i / 4 * 3 + i % 4]) << "byte " << i;

    const std::string missing = (directory.path() / "missing.png").string();
    GLTexture empty;
    EXPECT_EQ(
        zarn::test::captureStdout([&] { empty = GLTexture::adopt(loadParticleTexture(missing)); }),
        "Particle texture failed to load at path: " + missing + "\n");
    EXPECT_TRUE(empty);
    EXPECT_TRUE(context.debugMessages().empty());
}
