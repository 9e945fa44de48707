#include "render/Shader.h"

#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <unistd.h>

using zarn::Shader;
using zarn::test::GLTestContext;
using zarn::test::TempDirectory;
using zarn::test::WorkingDirectory;

namespace {

const char* const vertexSource = R"(#version 430 core
layout(location = 0) in vec3 position;
uniform mat4 modelMatrix;
uniform float scale;
void main() { gl_Position = modelMatrix * vec4(position * scale, 1.0); }
)";

const char* const fragmentSource = R"(#version 430 core
struct LightInfo { float isSpot; vec3 posDir; };
uniform LightInfo Lights[11];
uniform vec3 tint;
uniform int mode;
out vec4 colour;
void main() {
    vec3 sum = tint;
    for (int i = 0; i < 11; ++i)
        sum += Lights[i].posDir * Lights[i].isSpot;
    colour = vec4(sum, float(mode));
}
)";

// Writes the test programs under assets/shader/ of a temporary directory and
// makes that the working directory, as the game's is.
class ShaderGLTest : public testing::Test {
protected:
    void SetUp() override {
        directory.write("assets/shader/test.vert", vertexSource);
        directory.write("assets/shader/test.frag", fragmentSource);
        directory.write("assets/shader/broken.frag", "#version 430 core\nvoid main() { nope; }\n");
        directory.write("assets/shader/unlinked.frag",
                        "#version 430 core\nvec4 helper();\nout vec4 c;\n"
                        "void main() { c = helper(); }\n");
    }

    GLTestContext context;
    TempDirectory directory;
    WorkingDirectory workingDirectory{directory.path()};
};

float uniformFloat(GLuint program, GLint location) {
    float value = 0.0f;
    glGetUniformfv(program, location, &value);
    return value;
}

glm::vec3 uniformVec3(GLuint program, GLint location) {
    glm::vec3 value(0.0f);
    glGetUniformfv(program, location, glm::value_ptr(value));
    return value;
}

} // namespace

TEST_F(ShaderGLTest, BuildsALinkedProgramWithoutBindingIt) {
    const Shader shader("test.vert", "test.frag");
    EXPECT_NE(shader.programId, 0u);
    EXPECT_FALSE(shader.inlineSources);
    EXPECT_EQ(shader.vertexFile, "test.vert");
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.programId, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    // Stages are detached and deleted once linked.
    GLint attached = -1;
    glGetProgramiv(shader.programId, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(ShaderGLTest, CachesEveryLookupIncludingMisses) {
    Shader shader("test.vert", "test.frag");
    const GLint scale = shader.uniformLocation("scale");
    EXPECT_GE(scale, 0);
    EXPECT_EQ(shader.uniformLocation("missing"), -1);
    ASSERT_EQ(shader.uniformLocations.count("missing"), 1u);
    EXPECT_EQ(shader.uniformLocations.at("missing"), -1);
    // A cached value is returned without asking the driver again.
    shader.uniformLocations["scale"] = 12345;
    EXPECT_EQ(shader.uniformLocation("scale"), 12345);
}

TEST_F(ShaderGLTest, SettersWriteTheBoundProgramAndSkipMissingNames) {
    Shader shader("test.vert", "test.frag");
    glUseProgram(shader.programId);
    shader.setUniform("scale", 2.5f);
    shader.setUniform("tint", glm::vec3(0.25f, 0.5f, 0.75f));
    shader.setUniform("mode", 3);
    const glm::mat4 matrix =
        glm::mat4(1.0f) * 2.0f + glm::mat4(glm::vec4(0, 1, 2, 3), glm::vec4(4, 5, 6, 7),
                                           glm::vec4(8, 9, 10, 11), glm::vec4(12, 13, 14, 15));
    shader.setUniform("modelMatrix", matrix);
    shader.setUniform("missing", 1.0f);
    shader.setUniform("missing", glm::mat4(1.0f));

    EXPECT_FLOAT_EQ(uniformFloat(shader.programId, shader.uniformLocation("scale")), 2.5f);
    EXPECT_EQ(uniformVec3(shader.programId, shader.uniformLocation("tint")),
              glm::vec3(0.25f, 0.5f, 0.75f));
    GLint mode = 0;
    glGetUniformiv(shader.programId, shader.uniformLocation("mode"), &mode);
    EXPECT_EQ(mode, 3);
    glm::mat4 readBack(0.0f);
    glGetUniformfv(shader.programId, shader.uniformLocation("modelMatrix"),
                   glm::value_ptr(readBack));
    EXPECT_EQ(readBack, matrix); // column-major, not transposed
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(ShaderGLTest, ArrayMembersAreAddressedByDecimalIndex) {
    Shader shader("test.vert", "test.frag");
    glUseProgram(shader.programId);
    shader.setUniformArrayMember("Lights", 10, "isSpot", 1.0f);
    shader.setUniformArrayMember("Lights", 10, "posDir", glm::vec3(0.0f, -1.0f, -1.0f));
    shader.setUniformArrayMember("Lights", 2, "posDir", glm::vec3(3.0f, 4.0f, 5.0f));
    shader.setUniformArrayMember("Lights", 11, "posDir", glm::vec3(9.0f)); // past the end
    EXPECT_EQ(shader.uniformLocations.count("Lights[10].isSpot"), 1u);
    EXPECT_EQ(shader.uniformLocations.at("Lights[11].posDir"), -1);
    const GLint lightTen = glGetUniformLocation(shader.programId, "Lights[10].posDir");
    const GLint lightTwo = glGetUniformLocation(shader.programId, "Lights[2].posDir");
    EXPECT_EQ(uniformVec3(shader.programId, lightTen), glm::vec3(0.0f, -1.0f, -1.0f));
    EXPECT_EQ(uniformVec3(shader.programId, lightTwo), glm::vec3(3.0f, 4.0f, 5.0f));
    EXPECT_FLOAT_EQ(
        uniformFloat(shader.programId, glGetUniformLocation(shader.programId, "Lights[10].isSpot")),
        1.0f);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(ShaderGLTest, DestructionUnbindsAndDeletesTheProgram) {
    GLuint program = 0;
    {
        Shader shader("test.vert", "test.frag");
        program = shader.programId;
        glUseProgram(program);
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_FALSE(glIsProgram(program));
}

TEST_F(ShaderGLTest, InlineSourcesNeedNoFiles) {
    const Shader shader(Shader::InlineSources{}, vertexSource, fragmentSource);
    EXPECT_TRUE(shader.inlineSources);
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.programId, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

// Fatal failures print to standard output and exit with status 1. The death
// test child sends its standard output to standard error so that the message
// can be matched.
using ShaderDeathTest = ShaderGLTest;

TEST_F(ShaderDeathTest, MissingStageFileNamesTheFullPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Shader("test.vert", "absent.frag");
        },
        testing::ExitedWithCode(1), "Couldn't open shader file: assets/shader/absent.frag\n$");
}

TEST_F(ShaderDeathTest, CompileFailurePrintsTheFileThenTheLog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Shader("test.vert", "broken.frag");
        },
        testing::ExitedWithCode(1), "Failed to compile shader: broken.frag\n.*nope");
}

TEST_F(ShaderDeathTest, LinkFailurePrintsTheHeadlineThenTheLog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Shader("test.vert", "unlinked.frag");
        },
        testing::ExitedWithCode(1), "Failed to link shader program:\n.*helper");
}
