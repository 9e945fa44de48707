#include "render/Shader.h"

#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <unistd.h>

using zarn::Shader;

namespace {

// Test programs under assets/shader/ of a temporary working directory, as the
// game's are.
class ShaderGLTest : public testing::Test {
protected:
    void SetUp() override {
        directory.write("assets/shader/test.vert", R"(#version 430 core
uniform mat4 modelMatrix;
uniform float scale;
void main() { gl_Position = modelMatrix[1] * scale; }
)");
        directory.write("assets/shader/test.frag", R"(#version 430 core
struct LightInfo { float isSpot; vec3 posDir; };
uniform LightInfo Lights[11];
uniform vec3 tint;
uniform int mode;
out vec4 colour;
void main() { colour = vec4(tint + Lights[10].posDir * Lights[10].isSpot, mode); }
)");
        directory.write("assets/shader/broken.frag", "#version 430 core\nvoid main() { nope; }\n");
        directory.write("assets/shader/unlinked.frag",
                        "#version 430 core\nvec4 helper();\n"
                        "out vec4 c;\nvoid main() { c = helper(); }\n");
    }

    zarn::test::GLTestContext context;
    zarn::test::TempDirectory directory;
    zarn::test::WorkingDirectory workingDirectory{directory.path()};
};

} // namespace

TEST_F(ShaderGLTest, SettersWriteTheBoundProgramAndDestructionUnbindsIt) {
    GLuint program = 0;
    {
        Shader shader("test.vert", "test.frag");
        program = shader.programId;
        glUseProgram(program);
        glm::mat4 matrix(1.0f);
        matrix[1] = glm::vec4(1, 2, 3, 4);
        shader.setUniform("modelMatrix", matrix);
        shader.setUniform("scale", 2.5f);
        shader.setUniform("tint", glm::vec3(0.25f, 0.5f, 0.75f));
        shader.setUniform("mode", 3);
        shader.setUniform("missing", glm::mat4(1.0f));
        shader.setUniformArrayMember("Lights", 10, "isSpot", 1.0f);
        shader.setUniformArrayMember("Lights", 10, "posDir", glm::vec3(0.0f, -1.0f, -1.0f));
        const auto value = [&](const char* name) {
            glm::mat4 read(0.0f);
            glGetUniformfv(program, glGetUniformLocation(program, name), glm::value_ptr(read));
            return read;
        };
        EXPECT_EQ(value("modelMatrix"), matrix); // column-major, not transposed
        EXPECT_EQ(value("scale")[0].x, 2.5f);
        EXPECT_EQ(glm::vec3(value("tint")[0]), glm::vec3(0.25f, 0.5f, 0.75f));
        EXPECT_EQ(value("mode")[0].x, 3.0f);
        EXPECT_EQ(value("Lights[10].isSpot")[0].x, 1.0f);
        EXPECT_EQ(glm::vec3(value("Lights[10].posDir")[0]), glm::vec3(0, -1, -1));
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_TRUE(context.debugMessages().empty());
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
