#include "render/Model.h"

#include "render/Shader.h"
#include "render/ShaderPrograms.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb_image_write.h>

using namespace zarn;
using zarn::test::readPixel;
using zarn::test::toString;

namespace {

// Two quads of half the screen's height, left and right of the centre: a
// red-textured one, then one whose material has no texture.
const char* quadsObj = "mtllib quads.mtl\n"
                       "v -0.75 -0.25 0\nv -0.25 -0.25 0\nv -0.25 0.25 0\nv -0.75 0.25 0\n"
                       "v 0.25 -0.25 0\nv 0.75 -0.25 0\nv 0.75 0.25 0\nv 0.25 0.25 0\n"
                       "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                       "o red\nusemtl red\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                       "o plain\nusemtl plain\nf 5/1/1 6/2/1 7/3/1 8/4/1\n";
const char* quadsMtl = "newmtl red\nKd 1 1 1\nmap_Kd red.png\nnewmtl plain\nKd 1 1 1\n";

class ModelGLTest : public testing::Test {
protected:
    void SetUp() override {
        writeColour("red.png", 255, 0, 0);
        directory.write("quads.obj", quadsObj);
        directory.write("quads.mtl", quadsMtl);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void writeColour(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        const std::uint8_t pixels[12] = {r, g, b, r, g, b, r, g, b, r, g, b};
        const auto path = (directory.path() / name).string();
        ASSERT_TRUE(stbi_write_png(path.c_str(), 2, 2, 3, pixels, 6));
    }
    void TearDown() override {
        EXPECT_TRUE(context.debugMessages().empty()) << context.debugMessages().front();
    }
    std::string path(const char* name) const { return (directory.path() / name).string(); }

    zarn::test::GLTestContext context{64, 64, 0};
    zarn::test::TempDirectory directory;
};

} // namespace

TEST_F(ModelGLTest, DrawsWhereItsMatrixPutsItAndPlainMeshesDrawWhite) {
    auto shader = makeProgram(Program::ModelLoading);
    Model model(path("quads.obj"), shader);
    ASSERT_EQ(model.meshes.size(), 2u);

    glUseProgram(shader->programId);
    shader->setUniform("viewProjMatrix", glm::mat4(1.0f));
    shader->setUniform("viewPosition", glm::vec3(0, 0, 1));
    model.setModelMatrix(glm::translate(glm::mat4(1.0f), {0.0f, 0.5f, 0.0f}));
    model.draw();
    // The quads now span y 0.25 to 0.75: pixel rows 40 to 56.
    const auto red = readPixel(16, 48), plain = readPixel(48, 48);
    EXPECT_EQ(readPixel(16, 28), (zarn::test::Rgba{0, 0, 0, 255}));
    EXPECT_TRUE(red[0] > 60 && red[1] < 8 && red[2] < 8) << toString(red);
    // Lit like the red quad's red channel in every channel: not black, and
    // not the red texture unit 0 held before.
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_NEAR(plain[channel], red[0], 6) << toString(plain);
}

TEST_F(ModelGLTest, SetUpTouchesOnlyItsOwnVertexArraysAndTheCubeMapTakesUnit2) {
    const GLVertexArray foreign = GLVertexArray::generate();
    glBindVertexArray(foreign.id());
    Model model(path("quads.obj"), makeProgram(Program::EnvironmentMap));
    GLint bound = -1, elements = -1, enabled = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    glBindVertexArray(foreign.id());
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(elements, 0);
    EXPECT_EQ(enabled, GL_FALSE);

    // Bone ids reach the program as integers, not converted to floats.
    glBindVertexArray(model.meshes.at(0).vertexArray.id());
    GLint integer = -1;
    glGetVertexAttribiv(3, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &integer);
    EXPECT_EQ(integer, GL_TRUE);
    glBindVertexArray(0);

    const GLTexture cube = GLTexture::generate();
    model.drawEnvironmentMapped(cube.id());
    GLint cubeOnUnit2 = 0, cubeSampler = -1;
    glActiveTexture(GL_TEXTURE2);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &cubeOnUnit2);
    glGetUniformiv(model.shader->programId, model.shader->uniformLocation("cubeMap"), &cubeSampler);
    EXPECT_EQ(GLuint(cubeOnUnit2), cube.id());
    EXPECT_EQ(cubeSampler, 2);
}
