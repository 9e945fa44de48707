#include "render/RenderFramework.h"

#include "render/FatalError.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace zarn;

TEST(RenderFrameworkGLTest, FallbackProgramDrawsTheBuiltInMeshRedUntilShutdown) {
    zarn::test::GLTestContext context;
    glfwMakeContextCurrent(nullptr);
    EXPECT_EQ(zarn::test::captureStdout([] { EXPECT_FALSE(initRenderFramework()); }),
              "No context available. Exiting.\n");
    glfwMakeContextCurrent(context.window());

    ASSERT_TRUE(initRenderFramework());
    ASSERT_NE(fallbackProgram(), nullptr);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), fallbackProgram()->programId);
    // The mesh's vertex array kept its index buffer.
    const BuiltInMeshObjects objects = builtInMesh();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindVertexArray(objects.vertexArray);
    glDrawElements(GL_TRIANGLES, 1728, GL_UNSIGNED_INT, nullptr);
    const auto pixels = zarn::test::readPixels(0, 0, 800, 800);
    int red = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        red += pixels[i] == 255 && pixels[i + 2] == 0 ? 1 : 0;
    EXPECT_GT(red, 1000);

    shutdownRenderFramework();
    EXPECT_EQ(fallbackProgram(), nullptr);
    EXPECT_FALSE(glIsVertexArray(objects.vertexArray) || glIsBuffer(objects.indexBuffer) ||
                 glIsBuffer(objects.vertexBuffer));
    EXPECT_TRUE(context.debugMessages().empty());

    // A program the game bound already stays bound; the mesh is built anyway.
    const Shader mine(Shader::InlineSources{}, "#version 330 core\nvoid main() {}",
                      "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }");
    glUseProgram(mine.programId);
    ASSERT_TRUE(initRenderFramework());
    EXPECT_EQ(fallbackProgram(), nullptr);
    EXPECT_NE(builtInMesh().vertexArray, 0u);
    shutdownRenderFramework();
}

// The fallback program lives in a static; a fatal error must not let its
// destructor run into the context that the error path has just destroyed.
TEST(RenderFrameworkDeathTest, FatalErrorMakesNoGLCallOnceTheContextIsGone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            zarn::test::GLTestContext context;
            initRenderFramework();
            zarn::test::trapGLCallsWithoutContext();
            dup2(STDERR_FILENO, STDOUT_FILENO);
            fatalError("Failed to init framework");
        },
        testing::ExitedWithCode(1), "ERROR: Failed to init framework\n");
}
