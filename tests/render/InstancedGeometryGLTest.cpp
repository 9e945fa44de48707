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
// pixel, with the lit instanced program.
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
    static bool lit(const Rgba& pixel) { return pixel[0] + pixel[1] + pixel[2] > 60; }

    zarn::test::GLTestContext context{64, 64, 0};
    std::shared_ptr<Shader> shader = makeProgram(Program::PhongInstanced);
    std::shared_ptr<Material> red = std::make_shared<Material>(shader, glm::vec3(0.9f, 0.1f, 0.1f));
    const GeometryData box = createBox(8, 8, 8);
};

} // namespace

TEST_F(InstancedGeometryGLTest, EveryInstanceDrawsAtItsOwnMatrix) {
    InstancedGeometry one(at(10, 10), box, red);
    InstancedGeometry three({at(30, 10), at(50, 30), at(30, 50)}, box, red);
    one.draw();
    three.draw();
    for (const glm::ivec2& centre : {glm::ivec2(10, 10), {30, 10}, {50, 30}, {30, 50}}) {
        const Rgba pixel = readPixel(centre.x, centre.y);
        EXPECT_TRUE(lit(pixel) && pixel[0] > 2 * pixel[1]) << centre.x << ", " << centre.y;
    }
    for (const glm::ivec2& empty : {glm::ivec2(10, 50), {50, 10}, {20, 30}})
        EXPECT_FALSE(lit(readPixel(empty.x, empty.y))) << empty.x << ", " << empty.y;
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);
}

// Placing moves the model matrix and the first instance, and uploads it.
TEST_F(InstancedGeometryGLTest, PlaceMovesTheGeometry) {
    InstancedGeometry moving(at(10, 10), box, red);
    moving.place(at(50, 50));
    moving.draw();
    EXPECT_EQ(moving.modelMatrix, at(50, 50));
    EXPECT_TRUE(lit(readPixel(50, 50)));
    EXPECT_FALSE(lit(readPixel(10, 10)));
}

// Building or re-uploading one geometry while another's vertex array is bound
// must leave that other geometry intact.
TEST_F(InstancedGeometryGLTest, SetUpAndUploadTouchOnlyTheirOwnObjects) {
    InstancedGeometry first(at(10, 10), box, red);
    glBindVertexArray(first.vertexArray.id());
    InstancedGeometry second(at(50, 50), createSphere(4), red);
    second.uploadInstances();
    first.draw();
    EXPECT_TRUE(lit(readPixel(10, 10)));
    EXPECT_FALSE(lit(readPixel(50, 50)));
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
    EXPECT_LT(none[0] + none[1] + none[2], 10) << zarn::test::toString(none);
}
