#include "render/Shader.h"

#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <unistd.h>

using zarn::Shader;

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

// Test programs under assets/shader/ of a temporary working directory, as the
// game's are.
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

    zarn::test::GLTestContext context;
    zarn::test::TempDirectory directory;
    zarn::test::WorkingDirectory workingDirectory{directory.path()};
};

glm::vec4 uniformValue(const Shader& shader, const char* name) {
    glm::vec4 value(0.0f);
    glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, name),
                   glm::value_ptr(value));
    return value;
}

} // namespace

TEST_F(ShaderGLTest, CachesEveryLookupIncludingMisses) {
    Shader shader("test.vert", "test.frag");
    EXPECT_GE(shader.uniformLocation("scale"), 0);
    EXPECT_EQ(shader.uniformLocation("missing"), -1);
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
    glm::mat4 matrix(1.0f);
    matrix[3] = glm::vec4(1, 2, 3, 1);
    shader.setUniform("modelMatrix", matrix);
    shader.setUniform("missing", glm::mat4(1.0f));
    shader.setUniformArrayMember("Lights", 10, "isSpot", 1.0f);
    shader.setUniformArrayMember("Lights", 10, "posDir", glm::vec3(0.0f, -1.0f, -1.0f));

    EXPECT_FLOAT_EQ(uniformValue(shader, "scale").x, 2.5f);
    EXPECT_EQ(glm::vec3(uniformValue(shader, "tint")), glm::vec3(0.25f, 0.5f, 0.75f));
    GLint mode = 0;
    glGetUniformiv(shader.programId, shader.uniformLocation("mode"), &mode);
    EXPECT_EQ(mode, 3);
    glm::mat4 readBack(0.0f);
    glGetUniformfv(shader.programId, shader.uniformLocation("modelMatrix"),
                   glm::value_ptr(readBack));
    EXPECT_EQ(readBack, matrix); // column-major, not transposed
    EXPECT_FLOAT_EQ(uniformValue(shader, "Lights[10].isSpot").x, 1.0f);
    EXPECT_EQ(glm::vec3(uniformValue(shader, "Lights[10].posDir")), glm::vec3(0, -1, -1));
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

// Fatal failures print to standard output and exit with status 1; the death
// test child sends its standard output to standard error so it can be matched.
using ShaderDeathTest = ShaderGLTest;

TEST_F(ShaderDeathTest, ReadCompileAndLinkFailuresEndTheRunWithTheirMessages) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto build = [](const char* fragment) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        Shader("test.vert", fragment);
    };
    EXPECT_EXIT(build("absent.frag"), testing::ExitedWithCode(1),
                "Couldn't open shader file: assets/shader/absent.frag\n$");
    EXPECT_EXIT(build("broken.frag"), testing::ExitedWithCode(1),
                "Failed to compile shader: broken.frag\n.*nope");
    EXPECT_EXIT(build("unlinked.frag"), testing::ExitedWithCode(1),
                "Failed to link shader program:\n.*helper");
}
