#include "app/DebugOutput.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using zarn::formatDebugMessage;

TEST(DebugOutputTest, LineLayout) {
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 4711,
                                 GL_DEBUG_SEVERITY_MEDIUM, "slow path"),
              "OpenGL Error: slow path [Source = Shader Compiler, Type = Performance, "
              "Severity = Medium, ID = 4711]");
}

TEST(DebugOutputTest, WordsForEveryValueIncludingAmdCategories) {
    // Value, and its word as a source, as a type and as a severity.
    const struct {
        GLenum value;
        const char *source, *type, *severity;
    } rows[] = {
        {GL_DEBUG_SOURCE_API, "API", "Unknown", "Unknown"},
        {GL_DEBUG_SOURCE_WINDOW_SYSTEM, "Window System", "Unknown", "Unknown"},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, "Shader Compiler", "Unknown", "Unknown"},
        {GL_DEBUG_SOURCE_THIRD_PARTY, "Third Party", "Unknown", "Unknown"},
        {GL_DEBUG_SOURCE_APPLICATION, "Application", "Unknown", "Unknown"},
        {GL_DEBUG_SOURCE_OTHER, "Other", "Unknown", "Unknown"},
        {GL_DEBUG_TYPE_ERROR, "Unknown", "Error", "Unknown"},
        {GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR, "Unknown", "Deprecated Behavior", "Unknown"},
        {GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, "Unknown", "Undefined Behavior", "Unknown"},
        {GL_DEBUG_TYPE_PORTABILITY, "Unknown", "Portability", "Unknown"},
        {GL_DEBUG_TYPE_PERFORMANCE, "Unknown", "Performance", "Unknown"},
        {GL_DEBUG_TYPE_OTHER, "Unknown", "Other", "Unknown"},
        {GL_DEBUG_TYPE_MARKER, "Unknown", "Unknown", "Unknown"},
        {0x9149, "API", "Unknown", "Unknown"},
        {0x914A, "Window System", "Unknown", "Unknown"},
        {0x914B, "Unknown", "Deprecated Behavior", "Unknown"},
        {0x914C, "Unknown", "Undefined Behavior", "Unknown"},
        {0x914D, "Unknown", "Performance", "Unknown"},
        {0x914E, "Shader Compiler", "Unknown", "Unknown"},
        {0x914F, "Application", "Unknown", "Unknown"},
        {0x9150, "Other", "Other", "Unknown"},
        {GL_DEBUG_SEVERITY_HIGH, "Unknown", "Unknown", "High"},
        {GL_DEBUG_SEVERITY_MEDIUM, "Unknown", "Unknown", "Medium"},
        {GL_DEBUG_SEVERITY_LOW, "Unknown", "Unknown", "Low"},
        {GL_DEBUG_SEVERITY_NOTIFICATION, "Unknown", "Unknown", "Unknown"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatDebugMessage(row.value, row.value, 1, row.value, "m"),
                  std::string("OpenGL Error: m [Source = ") + row.source + ", Type = " + row.type +
                      ", Severity = " + row.severity + ", ID = 1]")
            << std::hex << row.value;
    }
}

TEST(DebugOutputTest, CallbackPrintsEveryMessageButTheTwoNoisyIds) {
    const auto send = [](GLuint id, GLenum severity) {
        return zarn::test::captureStdout([&] {
            zarn::onDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, id, severity, -1, "note",
                                 nullptr);
        });
    };
    EXPECT_EQ(send(131185, GL_DEBUG_SEVERITY_NOTIFICATION), "");
    EXPECT_EQ(send(131218, GL_DEBUG_SEVERITY_HIGH), "");
    EXPECT_EQ(send(131184, GL_DEBUG_SEVERITY_NOTIFICATION),
              "OpenGL Error: note [Source = API, Type = Other, Severity = Unknown, ID = 131184]\n");
}
