#include "app/DebugOutput.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

TEST(DebugOutputTest, TheCallbackPrintsOneLinePerMessageButTheTwoNoisyIds) {
    const auto send = [](GLuint id, GLenum source, GLenum type, GLenum severity) {
        return zarn::test::captureStdout(
            [&] { zarn::onDebugMessage(source, type, id, severity, -1, "note", nullptr); });
    };
    EXPECT_EQ(send(4711, GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE,
                   GL_DEBUG_SEVERITY_MEDIUM),
              "OpenGL Error: note [Source = Shader Compiler, Type = Performance, "
              "Severity = Medium, ID = 4711]\n");
    EXPECT_EQ(send(131185, GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, GL_DEBUG_SEVERITY_HIGH), "");
    EXPECT_EQ(send(131218, GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, GL_DEBUG_SEVERITY_HIGH), "");
}
