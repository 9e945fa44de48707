#include "render/Model.h"

#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb_image_write.h>

using namespace zarn;
using zarn::test::readPixel;
using zarn::test::Rgba;
using zarn::test::toString;

// Two quads of half the screen's height, left and right of the centre: a
// red-textured one, then one whose material has no texture.
TEST(ModelGLTest, DrawsWhereItsMatrixAndBonesPutItAndSetsUpOnlyItsOwnState) {
    zarn::test::GLTestContext context{64, 64, 0};
    zarn::test::TempDirectory directory;
    const std::uint8_t red[12] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};
    ASSERT_TRUE(stbi_write_png((directory.path() / "red.png").c_str(), 2, 2, 3, red, 6));
    directory.write("quads.mtl", "newmtl red\nKd 1 1 1\nmap_Kd red.png\nnewmtl plain\nKd 1 1 1\n");
    const auto path =
        directory.write("quads.obj", "mtllib quads.mtl\n"
                                     "v -0.75 -0.25 0\nv -0.25 -0.25 0\nv -0.25 0.25 0\n"
                                     "v -0.75 0.25 0\nv 0.25 -0.25 0\nv 0.75 -0.25 0\n"
                                     "v 0.75 0.25 0\nv 0.25 0.25 0\n"
                                     "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                                     "o red\nusemtl red\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                                     "o plain\nusemtl plain\nf 5/1/1 6/2/1 7/3/1 8/4/1\n");
    const GLVertexArray foreign = GLVertexArray::generate();
    glBindVertexArray(foreign.id());
    auto shader = makeProgram(Program::ModelLoading);
    Model model(path.string(), shader);
    ASSERT_EQ(model.meshes.size(), 2u);
    // The set-up leaves no vertex array bound and the one bound before
    // untouched; bone ids reach the program as integers, not as floats.
    GLint bound = -1, elements = -1, enabled = -1, integer = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    glBindVertexArray(foreign.id());
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    glBindVertexArray(model.meshes[0].vertexArray.id());
    glGetVertexAttribiv(3, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &integer);
    EXPECT_TRUE(bound == 0 && elements == 0 && enabled == GL_FALSE && integer == GL_TRUE)
        << bound << " " << elements << " " << enabled << " " << integer;

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(shader->programId);
    shader->setUniform("viewProjMatrix", glm::mat4(1.0f));
    shader->setUniform("viewPosition", glm::vec3(0, 0, 1));
    model.setModelMatrix(glm::translate(glm::mat4(1.0f), {0.0f, 0.5f, 0.0f}));
    model.draw();
    // The quads now span y 0.25 to 0.75: pixel rows 40 to 56.
    const Rgba black{0, 0, 0, 255}, quad = readPixel(16, 48), plain = readPixel(48, 48);
    EXPECT_EQ(readPixel(16, 28), black);
    EXPECT_TRUE(quad[0] > 60 && quad[1] < 8 && quad[2] < 8) << toString(quad);
    // Lit like the red quad's red channel in every channel: not black, and
    // not the red texture unit 0 held before.
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_NEAR(plain[channel], quad[0], 6) << toString(plain);

    // Skinned, every vertex three quarters on bone 31 and a quarter on bone
    // 2: moved by (1, -1), the red quad spans pixel rows 8 to 24, columns 40
    // to 56.
    glClear(GL_COLOR_BUFFER_BIT);
    for (const Mesh& mesh : model.meshes) {
        glBindVertexArray(mesh.vertexArray.id());
        glDisableVertexAttribArray(3);
        glDisableVertexAttribArray(4);
    }
    glVertexAttribI4i(3, 31, 2, 0, 0);
    glVertexAttrib4f(4, 0.75f, 0.25f, 0, 0);
    shader->setUniform("hasBones", 1);
    shader->setUniform("gBones[31]", glm::translate(glm::mat4(1.0f), {0.0f, -1.0f, 0.0f}));
    shader->setUniform("gBones[2]", glm::translate(glm::mat4(1.0f), {4.0f, -1.0f, 0.0f}));
    model.draw();
    const Rgba moved = readPixel(48, 16);
    EXPECT_TRUE(moved[0] > 60 && moved[1] < 8) << toString(moved);
    EXPECT_EQ(readPixel(16, 48), black);

    // Mirroring the sky: the cube map on unit 2, where the program samples it.
    model.shader = makeProgram(Program::EnvironmentMap);
    const GLTexture cube = GLTexture::generate();
    model.drawEnvironmentMapped(cube.id());
    GLint cubeOnUnit2 = 0, cubeSampler = -1;
    glActiveTexture(GL_TEXTURE2);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &cubeOnUnit2);
    glGetUniformiv(model.shader->programId, model.shader->uniformLocation("cubeMap"), &cubeSampler);
    EXPECT_TRUE(GLuint(cubeOnUnit2) == cube.id() && cubeSampler == 2);
    EXPECT_TRUE(context.debugMessages().empty()) << context.debugMessages().front();
}
