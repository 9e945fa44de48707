#include "render/InstancedGeometry.h"

#include "render/GeometryData.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;
using zarn::test::readPixel;
using zarn::test::Rgba;

namespace {

// A single-sampled 64 x 64 window looked at straight along -z, one unit a
// pixel, with the lit instanced program and the sun.
class InstancedGeometryGLTest : public testing::Test {
protected:
    void SetUp() override {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glUseProgram(shader->programId);
        shader->setUniform("viewProjMatrix", glm::ortho(0.0f, 64.0f, 0.0f, 64.0f, -50.0f, 50.0f));
        shader->setUniform("viewPosition", glm::vec3(32, 32, 40));
        sunLight(shader).setUniforms(0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override { EXPECT_TRUE(context.debugMessages().empty()); }

    static glm::mat4 at(float x, float y) { return glm::translate(glm::mat4(1.0f), {x, y, 0}); }
    static int brightness(const Rgba& pixel) { return pixel[0] + pixel[1] + pixel[2]; }

    zarn::test::GLTestContext context{64, 64, 0};
    std::shared_ptr<Shader> shader = makeProgram(Program::PhongInstanced);
    std::shared_ptr<Material> grey = std::make_shared<Material>(shader, glm::vec3(0.4f));
    const GeometryData box = createBox(8, 8, 8);
};

} // namespace

TEST_F(InstancedGeometryGLTest, EveryInstanceDrawsAtItsOwnMatrixLitByTheSun) {
    InstancedGeometry one(at(10, 10), box, grey);
    // Building another geometry while this one's vertex array is bound must
    // leave this one intact.
    glBindVertexArray(one.vertexArray.id());
    InstancedGeometry three({at(30, 10), at(50, 30), at(10, 50)}, createSphere(4), grey);
    three.uploadInstances();
    one.place(at(30, 50));
    // Turned 45 degrees about x: the upper face tilts towards the sun, the
    // lower face away from it.
    InstancedGeometry turned(glm::rotate(at(50, 50), glm::radians(45.0f), {1, 0, 0}), box, grey);
    one.draw();
    three.draw();
    turned.draw();
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);

    for (const glm::ivec2& centre : {glm::ivec2(30, 50), {30, 10}, {50, 30}, {10, 50}})
        EXPECT_GT(brightness(readPixel(centre.x, centre.y)), 150) << centre.x << ", " << centre.y;
    for (const glm::ivec2& empty : {glm::ivec2(10, 10), {50, 10}, {20, 30}})
        EXPECT_EQ(brightness(readPixel(empty.x, empty.y)), 0) << empty.x << ", " << empty.y;
    const Rgba upper = readPixel(50, 53), lower = readPixel(50, 47);
    EXPECT_GT(brightness(upper), brightness(lower) + 150)
        << zarn::test::toString(upper) << " against " << zarn::test::toString(lower);
}

TEST_F(InstancedGeometryGLTest, TexturedMaterialsShowTheirImageAndAMissingFileStaysBlack) {
    auto green = std::make_shared<Material>(shader, "assets/textures/riverCrossingGame/green.dds",
                                            0.6f, 0.6f, 0.1f, 8.0f);
    auto missing =
        std::make_shared<Material>(shader, "assets/textures/absent.dds", 0.6f, 0.6f, 0.0f, 8.0f);
    EXPECT_EQ(green->diffuseImage.data, nullptr); // released after the upload
    InstancedGeometry(at(10, 10), box, green).draw();
    InstancedGeometry(at(40, 40), box, missing).draw();
    const Rgba grass = readPixel(10, 10), none = readPixel(40, 40);
    EXPECT_TRUE(grass[1] > grass[0] && grass[1] > grass[2] && grass[1] > 60)
        << zarn::test::toString(grass);
    EXPECT_LT(brightness(none), 10) << zarn::test::toString(none);
}
