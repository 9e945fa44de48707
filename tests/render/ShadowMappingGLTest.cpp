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

// A white floor seen from straight above in a window that is not square, so
// a pass that restores a fixed viewport shows. The sun shines along
// (0, -1, -1): a box 1 above the floor at z = 1 throws its shadow around the
// origin.
TEST(ShadowMappingGLTest, ABoxShadowsTheFloorAndTheSceneStateIsRestored) {
    zarn::test::GLTestContext context{1024, 640, 0};
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    const auto shadowShader = makeProgram(Program::ShadowMapped);
    glUseProgram(shadowShader->programId);
    const glm::mat4 view = glm::lookAt(glm::vec3(0, 5, 0), glm::vec3(0), glm::vec3(0, 0, -1));
    // 4 x 2.5 world units fill the window.
    shadowShader->setUniform("viewProjMatrix",
                             glm::ortho(-2.0f, 2.0f, -1.25f, 1.25f, 0.1f, 10.0f) * view);
    shadowShader->setUniform("viewPosition", glm::vec3(0, 5, 0));
    sunLight(shadowShader).setUniforms(0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShadowMapping shadows{makeProgram(Program::DepthInstanced), sunDirection, shadowShader};
    const auto white = std::make_shared<Material>(shadowShader, glm::vec3(0.8f));
    InstancedGeometry floor(glm::translate(glm::mat4(1.0f), {0, -0.05f, 0}), createBox(4, 0.1f, 4),
                            white);
    InstancedGeometry blocker(glm::translate(glm::mat4(1.0f), {0, 1, 1}),
                              createBox(0.4f, 0.4f, 0.4f), white);
    shadows.renderDepth({&floor, &blocker});
    shadows.drawLit({&floor, &blocker});

    // The floor pixel under world point (x, 0, z).
    const auto floorAt = [](float x, float z) {
        const auto pixel = zarn::test::readPixel(int((x + 2) * 256), int((1.25f - z) * 256));
        return pixel[0] + pixel[1] + pixel[2];
    };
    const int shaded = floorAt(0, 0), sunny = floorAt(-1.2f, 0);
    EXPECT_LT(shaded * 10, sunny * 7) << shaded << " against " << sunny;
    EXPECT_EQ(sunny, floorAt(0, -0.8f)) << "an open floor is lit evenly, without acne";
    EXPECT_GT(shaded, 60) << "shadow keeps the ambient light";
    // Drawn across the whole window, not only an 800 x 800 corner.
    EXPECT_EQ(floorAt(1.98f, -1.23f), sunny);

    GLint framebuffer = -1, viewport[4] = {}, cullFace = -1, depthMap = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    glActiveTexture(GL_TEXTURE1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &depthMap);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_TRUE(viewport[2] == 1024 && viewport[3] == 640);
    EXPECT_EQ(cullFace, GL_BACK);
    EXPECT_EQ(GLuint(depthMap), shadows.depthTexture.id());
    EXPECT_TRUE(floor.material == white && blocker.material == white);
    EXPECT_TRUE(context.debugMessages().empty());
}
