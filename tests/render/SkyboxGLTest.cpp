#include "render/Skybox.h"

#include "app/Camera.h"
#include "render/Model.h"
#include "render/ParticleEmitter.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstring>

using namespace zarn;

namespace {

bool magenta(const std::uint8_t* p) {
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
}

// The game's sky in a window wider than high, cleared to magenta so that any
// pixel the sky leaves out shows.
class SkyboxGLTest : public testing::Test {
protected:
    SkyboxGLTest() { glEnable(GL_DEPTH_TEST), glEnable(GL_CULL_FACE); }

    std::vector<std::uint8_t> drawSky(const Camera& camera) {
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        sky.draw(camera.viewProjection());
        return zarn::test::readPixels(0, 0, 1024, 640);
    }

    zarn::test::GLTestContext context{1024, 640, 0};
    InputState input;
    Camera camera{60.0f, 1024.0f / 640.0f, 0.1f, 100.0f, input};
    Skybox sky{makeProgram(Program::Skybox), camera.projection};
};

} // namespace

TEST_F(SkyboxGLTest, SkyFillsTheWindowTurnsWithTheViewButNeverMoves) {
    camera.update(0, 0);
    const std::vector<std::uint8_t> home = drawSky(camera);
    int uncovered = 0;
    for (std::size_t i = 0; i < home.size(); i += 4)
        uncovered += magenta(&home[i]) ? 1 : 0;
    EXPECT_EQ(uncovered, 0);
    // Sky above the horizon, sea below it, at the default view.
    const std::uint8_t* above = &home[(600 * 1024 + 512) * 4];
    const std::uint8_t* below = &home[(40 * 1024 + 512) * 4];
    EXPECT_GT(above[2], above[0] + 40);
    EXPECT_GT(above[0] + above[1] + above[2], below[0] + below[1] + below[2] + 60);

    // A zoomed camera stands elsewhere but looks the same way.
    input.cameraDistance = 2.0f;
    camera.update(0, 0);
    EXPECT_EQ(drawSky(camera), home);

    input.rightMouseDown = true;
    camera.update(200, 0);
    EXPECT_NE(drawSky(camera), home);

    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LESS);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    EXPECT_TRUE(context.debugMessages().empty());
}

// Sprites write no depth; with the sky drawn first they sit on the sky with
// the sky showing around them. The frame model drawn before them leaves its
// cube map active on unit 2, which the sprite must not sample.
TEST_F(SkyboxGLTest, AParticleSpriteDrawnAfterTheSkyAndFrameShowsTheSkyAroundIt) {
    camera.update(0, 0);
    const std::vector<std::uint8_t> skyOnly = drawSky(camera);
    auto particles = makeProgram(Program::Particle);
    glUseProgram(particles->programId);
    particles->setUniform("viewProjMatrix", camera.viewProjection());
    ParticleEmitter emitter(particles, camera.projection, 50,
                            "assets/textures/particleSystem/particle_full.png");
    emitter.simulation.spawnArea = {glm::vec3(0.0f), glm::vec3(0.0f)};
    emitter.simulation.velocity = glm::vec3(0.0f);
    emitter.simulation.colours = {glm::vec3(1.0f), glm::vec3(0.0f)}; // the sprite's own white

    Model frame("assets/models/frame/frame.obj", makeProgram(Program::EnvironmentMap));
    frame.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 50))); // out of sight

    drawSky(camera);
    frame.drawEnvironmentMapped(sky.cubeMapTexture.id());
    emitter.draw(0.0f);
    const std::vector<std::uint8_t> withSprite = zarn::test::readPixels(0, 0, 1024, 640);
    const auto at = [](const std::vector<std::uint8_t>& image, int x, int y) {
        return &image[(std::size_t(y) * 1024 + x) * 4];
    };
    const std::uint8_t* centre = at(withSprite, 512, 320);
    EXPECT_TRUE(centre[0] > 240 && centre[1] > 240 && centre[2] > 240)
        << "no white sprite at the centre: " << int(centre[0]) << ", " << int(centre[1]) << ", "
        << int(centre[2]);
    // Around it, and in the corners of its 20-pixel square, where the round
    // sprite has faded out, the sky shows unchanged.
    for (const auto& [x, y] : {std::pair{462, 320}, {562, 320}, {519, 327}, {505, 313}})
        EXPECT_EQ(std::memcmp(at(withSprite, x, y), at(skyOnly, x, y), 3), 0)
            << "sky covered at " << x << ", " << y;
    float depth = 0.0f;
    glReadPixels(512, 320, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f) << "the sky or the sprite wrote depth";
}
