#include "render/RenderFramework.h"

#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace zarn;
using zarn::test::captureStdout;
using zarn::test::GLTestContext;

TEST(RenderFrameworkTest, BuiltInMeshIsAClosedOutwardCrystalCluster) {
    const BuiltInMeshData mesh = makeBuiltInMesh();
    ASSERT_EQ(mesh.positions.size(), 512u);
    ASSERT_EQ(mesh.indices.size(), 1728u);

    // Closed and consistently wound: every directed edge occurs exactly once
    // and so does its reverse.
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    for (std::size_t t = 0; t < mesh.indices.size(); t += 3)
        for (int corner = 0; corner < 3; ++corner) {
            const std::uint32_t a = mesh.indices[t + corner];
            const std::uint32_t b = mesh.indices[t + (corner + 1) % 3];
            ASSERT_LT(a, 512u);
            ++edges[{a, b}];
        }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }

    // Outward: positive enclosed volume, and every vertex is used.
    float volume = 0.0f;
    std::vector<bool> used(mesh.positions.size(), false);
    for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
        const glm::vec3 a = mesh.positions[mesh.indices[t]];
        const glm::vec3 b = mesh.positions[mesh.indices[t + 1]];
        const glm::vec3 c = mesh.positions[mesh.indices[t + 2]];
        volume += glm::dot(a, glm::cross(b, c)) / 6.0f;
        used[mesh.indices[t]] = used[mesh.indices[t + 1]] = used[mesh.indices[t + 2]] = true;
    }
    EXPECT_GT(volume, 0.0f);
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0);
}

TEST(RenderFrameworkTest, BuiltInMeshIsTurnedHalfWayAboutTheVerticalAxis) {
    // The first crystal sits near the north pole at a positive x before the
    // turn; the turn mirrors x and z but keeps y.
    const BuiltInMeshData mesh = makeBuiltInMesh();
    glm::vec3 centre(0.0f);
    for (int i = 0; i < 6; ++i)
        centre += mesh.positions[i] / 6.0f;
    EXPECT_GT(centre.y, 0.9f);
    EXPECT_LT(centre.x, 0.0f);
}

TEST(RenderFrameworkGLTest, FailsWithoutACurrentContext) {
    GLTestContext context;
    glfwMakeContextCurrent(nullptr);
    bool result = true;
    const std::string printed = captureStdout([&] { result = initRenderFramework(); });
    EXPECT_FALSE(result);
    EXPECT_EQ(printed, "No context available. Exiting.\n");
    glfwMakeContextCurrent(context.window());
    EXPECT_EQ(fallbackProgram(), nullptr);
}

TEST(RenderFrameworkGLTest, InstallsTheFallbackProgramWhenNothingIsBound) {
    GLTestContext context;
    ASSERT_TRUE(initRenderFramework());
    ASSERT_NE(fallbackProgram(), nullptr);
    EXPECT_TRUE(fallbackProgram()->inlineSources);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), fallbackProgram()->programId);

    // The fallback colours everything red.
    GLuint vertexArray = 0, buffer = 0;
    const float triangle[] = {-1, -1, 0, 3, -1, 0, -1, 3, 0};
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(triangle), triangle, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    EXPECT_EQ(zarn::test::readPixel(400, 400), (zarn::test::Rgba{255, 0, 0, 255}));

    // The mesh's vertex array keeps its index buffer and position attribute.
    const BuiltInMeshObjects objects = builtInMesh();
    ASSERT_NE(objects.vertexArray, 0u);
    glBindVertexArray(objects.vertexArray);
    GLint indexBuffer = 0, enabled = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &indexBuffer);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(GLuint(indexBuffer), objects.indexBuffer);
    EXPECT_EQ(enabled, GL_TRUE);
    GLint indexBytes = 0;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, objects.indexBuffer);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexBytes);
    EXPECT_EQ(indexBytes, 1728 * 4);
    glBindVertexArray(0);

    shutdownRenderFramework();
    EXPECT_EQ(fallbackProgram(), nullptr);
    EXPECT_FALSE(glIsVertexArray(objects.vertexArray));
    EXPECT_FALSE(glIsBuffer(objects.vertexBuffer));
    EXPECT_FALSE(glIsBuffer(objects.indexBuffer));
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(RenderFrameworkGLTest, KeepsABoundProgramAndStillBuildsTheMesh) {
    GLTestContext context;
    const Shader mine(Shader::InlineSources{},
                      "#version 330 core\nvoid main() { gl_Position = vec4(0); }",
                      "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }");
    glUseProgram(mine.programId);
    ASSERT_TRUE(initRenderFramework());
    EXPECT_EQ(fallbackProgram(), nullptr);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), mine.programId);
    EXPECT_NE(builtInMesh().vertexArray, 0u);
    shutdownRenderFramework();
}
