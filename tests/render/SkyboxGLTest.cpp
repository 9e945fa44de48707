#include "render/Skybox.h"

#include "render/Model.h"
#include "render/ParticleCloud.h"
#include "render/ParticleEmitter.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace zarn;

namespace {

int brightness(const std::uint8_t* pixel) {
    return pixel[0] + pixel[1] + pixel[2];
}

GLint integer(GLenum state) {
    GLint value = -1;
    glGetIntegerv(state, &value);
    return value;
}

// The game's sky in a window wider than high, cleared to magenta so that any
// pixel the sky leaves out shows.
class SkyboxGLTest : public testing::Test {
protected:
    SkyboxGLTest() { glEnable(GL_DEPTH_TEST), glEnable(GL_CULL_FACE); }
    void TearDown() override { EXPECT_TRUE(context.debugMessages().empty()); }

    // The sky seen from eye towards target.
    std::vector<std::uint8_t> drawSky(glm::vec3 eye, glm::vec3 target, glm::vec3 up = {0, 1, 0}) {
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        sky.draw(projection * glm::lookAt(eye, target, up));
        return zarn::test::readPixels(0, 0, 1024, 640);
    }
    static const std::uint8_t* at(const std::vector<std::uint8_t>& image, int x, int y) {
        return &image[(std::size_t(y) * 1024 + x) * 4];
    }

    zarn::test::GLTestContext context{1024, 640, 0};
    const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.6f, 0.1f, 100.0f);
    Skybox sky{makeProgram(Program::Skybox), projection};
};

} // namespace

TEST_F(SkyboxGLTest, SkyFillsTheWindowTurnsWithTheViewButNeverMoves) {
    const std::vector<std::uint8_t> home = drawSky({0, 0, 6}, {0, 0, 0});
    for (std::size_t i = 0; i < home.size(); i += 4)
        ASSERT_FALSE(home[i] == 255 && home[i + 1] == 0 && home[i + 2] == 255) << i / 4;
    EXPECT_EQ(drawSky({0, 0, 12}, {0, 0, 6}), home); // elsewhere, the same way
    EXPECT_NE(drawSky({6, 0, 0}, {0, 0, 0}), home);
    const auto up = drawSky({0, 0, 0}, {0, 1, 0}, {0, 0, -1});
    const auto down = drawSky({0, 0, 0}, {0, -1, 0}, {0, 0, 1});
    // Sky above the horizon and overhead, sea below it and underfoot.
    EXPECT_GT(brightness(at(home, 512, 600)), brightness(at(home, 512, 40)) + 60);
    EXPECT_GT(brightness(at(up, 512, 320)), brightness(at(down, 512, 320)) + 100);
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
}

// Sprites write no depth; with the sky drawn first they sit on the sky with
// the sky showing around them. The frame model drawn before them leaves its
// cube map active on unit 2, which the sprite must not sample.
TEST_F(SkyboxGLTest, ParticlesDrawnAfterTheSkyAndFrameShowTheSkyAroundThem) {
    const glm::mat4 viewProjection =
        projection * glm::lookAt(glm::vec3(0, 0, 6), glm::vec3(0), {0, 1, 0});
    const std::vector<std::uint8_t> skyOnly = drawSky({0, 0, 6}, {0, 0, 0});
    auto particles = makeProgram(Program::Particle);
    glUseProgram(particles->programId);
    particles->setUniform("viewProjMatrix", viewProjection);
    ParticleEmitter emitter(particles, projection, 50,
                            "assets/textures/particleSystem/particle_full.png");
    emitter.simulation.spawnArea = {glm::vec3(0.0f), glm::vec3(0.0f)};
    emitter.simulation.velocity = glm::vec3(0.0f);
    emitter.simulation.colours = {glm::vec3(1.0f), glm::vec3(0.0f)}; // the sprite's own white
    Model frame("assets/models/frame/frame.obj", makeProgram(Program::EnvironmentMap));
    frame.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 50))); // out of sight

    drawSky({0, 0, 6}, {0, 0, 0});
    frame.drawEnvironmentMapped(sky.cubeMapTexture.id());
    emitter.advance(0.0f);
    emitter.draw();
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    const std::vector<std::uint8_t> withSprite = zarn::test::readPixels(0, 0, 1024, 640);
    const std::uint8_t* centre = at(withSprite, 512, 320);
    EXPECT_TRUE(centre[0] > 240 && centre[1] > 240 && centre[2] > 240)
        << "no white sprite at the centre: " << int(centre[0]) << ", " << int(centre[1]) << ", "
        << int(centre[2]);
    // Around it, and in the corners of its 20-pixel square, where the round
    // sprite has faded out, the sky shows unchanged.
    for (const auto& [x, y] : {std::pair{462, 320}, {562, 320}, {519, 327}, {505, 313}})
        EXPECT_EQ(std::memcmp(at(withSprite, x, y), at(skyOnly, x, y), 3), 0)
            << "sky covered at " << x << ", " << y;

    // The river's cloud, seen face on, brightens the sky where it draws.
    glm::mat4 riverView(0.0f);
    riverView[2][0] = 2.0f;
    riverView[1][1] = 1.0f / 1.5f;
    riverView[0][2] = 1.0f;
    riverView[3] = glm::vec4(0, 0, 1.6f, 1);
    auto flow = makeProgram(Program::ParticleFlow);
    glUseProgram(flow->programId);
    flow->setUniform("viewProjMatrix", riverView);
    ParticleCloud cloud(flow, projection, 2000, "assets/textures/particleSystem/particle.png");
    cloud.draw(0.3f);
    const std::vector<std::uint8_t> withCloud = zarn::test::readPixels(0, 0, 1024, 640);
    int brighter = 0;
    for (std::size_t i = 0; i < withCloud.size(); i += 4)
        brighter += brightness(&withCloud[i]) > brightness(&withSprite[i]) + 30 ? 1 : 0;
    EXPECT_GT(brighter, 100);
    std::vector<float> depth(1024 * 640);
    glReadPixels(0, 0, 1024, 640, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 1.0f), long(depth.size()))
        << "sky, sprite or cloud wrote depth";
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
}
