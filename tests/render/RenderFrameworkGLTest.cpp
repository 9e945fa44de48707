#include "render/RenderFramework.h"

#include "render/FatalError.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <unistd.h>
#include <utility>

using namespace zarn;

TEST(RenderFrameworkTest, BuiltInMeshIsAClosedOutwardMesh) {
    const BuiltInMeshData mesh = makeBuiltInMesh();
    ASSERT_EQ(mesh.positions.size(), 512u);
    ASSERT_EQ(mesh.indices.size(), 1728u);
    // Closed and consistently wound: each directed edge occurs once, and so
    // does its reverse; the enclosed volume is positive.
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    float volume = 0.0f;
    for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
        for (int corner = 0; corner < 3; ++corner)
            ++edges[{mesh.indices[t + corner], mesh.indices[t + (corner + 1) % 3]}];
        const glm::vec3 a = mesh.positions.at(mesh.indices[t]);
        const glm::vec3 b = mesh.positions.at(mesh.indices[t + 1]);
        const glm::vec3 c = mesh.positions.at(mesh.indices[t + 2]);
        volume += glm::dot(a, glm::cross(b, c)) / 6.0f;
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
    EXPECT_GT(volume, 0.0f);
}

TEST(RenderFrameworkGLTest, FailsWithoutACurrentContext) {
    zarn::test::GLTestContext context;
    glfwMakeContextCurrent(nullptr);
    bool result = true;
    EXPECT_EQ(zarn::test::captureStdout([&] { result = initRenderFramework(); }),
              "No context available. Exiting.\n");
    EXPECT_FALSE(result);
    glfwMakeContextCurrent(context.window());
}

TEST(RenderFrameworkGLTest, FallbackProgramIsBoundAndDrawsRedUntilShutdown) {
    zarn::test::GLTestContext context;
    ASSERT_TRUE(initRenderFramework());
    ASSERT_NE(fallbackProgram(), nullptr);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), fallbackProgram()->programId);

    // The built-in mesh's vertex array keeps its index buffer: draw the crystals.
    const BuiltInMeshObjects objects = builtInMesh();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindVertexArray(objects.vertexArray);
    glDrawElements(GL_TRIANGLES, 1728, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    const auto pixels = zarn::test::readPixels(0, 0, 800, 800);
    int red = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        red += pixels[i] == 255 && pixels[i + 2] == 0 ? 1 : 0;
    EXPECT_GT(red, 1000);

    shutdownRenderFramework();
    EXPECT_EQ(fallbackProgram(), nullptr);
    EXPECT_FALSE(glIsVertexArray(objects.vertexArray));
    EXPECT_FALSE(glIsBuffer(objects.indexBuffer));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(RenderFrameworkGLTest, KeepsABoundProgramAndStillBuildsTheMesh) {
    zarn::test::GLTestContext context;
    const Shader mine(Shader::InlineSources{},
                      "#version 330 core\nvoid main() { gl_Position = vec4(0); }",
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
