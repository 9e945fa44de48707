#include "render/ShadowMapping.h"

#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

int brightness(const zarn::test::Rgba& pixel) {
    return pixel[0] + pixel[1] + pixel[2];
}

// A white floor seen from straight above in a window that is not square,
// so a pass that restores a fixed viewport shows.
class ShadowMappingGLTest : public testing::Test {
protected:
    void SetUp() override {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glUseProgram(shadowShader->programId);
        const glm::mat4 view = glm::lookAt(glm::vec3(0, 5, 0), glm::vec3(0), glm::vec3(0, 0, -1));
        // 4 x 2.5 world units fill the 1024 x 640 window.
        shadowShader->setUniform("viewProjMatrix",
                                 glm::ortho(-2.0f, 2.0f, -1.25f, 1.25f, 0.1f, 10.0f) * view);
        shadowShader->setUniform("viewPosition", glm::vec3(0, 5, 0));
        sunLight(shadowShader).setUniforms(0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The floor pixel under world point (x, 0, z).
    zarn::test::Rgba floorAt(float x, float z) const {
        return zarn::test::readPixel(int((x + 2.0f) / 4.0f * 1024), int((1.25f - z) / 2.5f * 640));
    }

    zarn::test::GLTestContext context{1024, 640, 0};
    std::shared_ptr<Shader> shadowShader = makeProgram(Program::ShadowMapped);
    ShadowMapping shadows{makeProgram(Program::DepthInstanced), sunDirection, shadowShader};
    std::shared_ptr<Material> white = std::make_shared<Material>(shadowShader, glm::vec3(0.8f));
    InstancedGeometry floor{glm::translate(glm::mat4(1.0f), {0, -0.05f, 0}), createBox(4, 0.1f, 4),
                            white};
};

} // namespace

TEST_F(ShadowMappingGLTest, ABoxBetweenSunAndFloorDarkensTheFloor) {
    // The sun shines along (0, -1, -1): a box 1 above the floor at z = 1
    // throws its shadow around the origin.
    InstancedGeometry blocker(glm::translate(glm::mat4(1.0f), {0, 1, 1}),
                              createBox(0.4f, 0.4f, 0.4f), white);
    shadows.render({&floor, &blocker});
    const int shaded = brightness(floorAt(0, 0));
    const int sunny = brightness(floorAt(-1.2f, 0)), sunnyBehind = brightness(floorAt(0, -0.8f));
    EXPECT_LT(shaded * 10, sunny * 7) << shaded << " against " << sunny;
    EXPECT_EQ(sunny, sunnyBehind) << "an open floor is lit evenly, without acne";
    EXPECT_GT(shaded, 60) << "shadow keeps the ambient light";
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(ShadowMappingGLTest, RenderLeavesTheSceneStateTheFrameExpects) {
    const std::shared_ptr<Material> own = floor.material;
    glViewport(0, 0, 1024, 640);
    shadows.render({&floor});

    GLint value = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(value, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 640);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glActiveTexture(GL_TEXTURE1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLuint(value), shadows.depthTexture.id());
    EXPECT_EQ(floor.material, own);
    // The floor was drawn across the whole window, not only an 800 x 800 corner.
    EXPECT_GT(brightness(zarn::test::readPixel(1020, 636)), 60);
}
