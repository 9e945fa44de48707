#include "app/DebugOutput.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using zarn::formatDebugMessage;
using zarn::onDebugMessage;
using zarn::test::captureStdout;

namespace {

std::string sourceWordOf(GLenum source) {
    const std::string line =
        formatDebugMessage(source, GL_DEBUG_TYPE_ERROR, 1, GL_DEBUG_SEVERITY_HIGH, "m");
    const auto start = line.find("Source = ") + 9;
    return line.substr(start, line.find(", Type") - start);
}

std::string typeWordOf(GLenum type) {
    const std::string line =
        formatDebugMessage(GL_DEBUG_SOURCE_API, type, 1, GL_DEBUG_SEVERITY_HIGH, "m");
    const auto start = line.find("Type = ") + 7;
    return line.substr(start, line.find(", Severity") - start);
}

std::string severityWordOf(GLenum severity) {
    const std::string line =
        formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1, severity, "m");
    const auto start = line.find("Severity = ") + 11;
    return line.substr(start, line.find(", ID") - start);
}

} // namespace

TEST(DebugOutputTest, LineLayout) {
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 4711,
                                 GL_DEBUG_SEVERITY_MEDIUM, "slow path"),
              "OpenGL Error: slow path [Source = Shader Compiler, Type = Performance, "
              "Severity = Medium, ID = 4711]");
}

TEST(DebugOutputTest, SourceWords) {
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_API), "API");
    EXPECT_EQ(sourceWordOf(0x9149), "API");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_WINDOW_SYSTEM), "Window System");
    EXPECT_EQ(sourceWordOf(0x914A), "Window System");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_SHADER_COMPILER), "Shader Compiler");
    EXPECT_EQ(sourceWordOf(0x914E), "Shader Compiler");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_THIRD_PARTY), "Third Party");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_APPLICATION), "Application");
    EXPECT_EQ(sourceWordOf(0x914F), "Application");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_SOURCE_OTHER), "Other");
    EXPECT_EQ(sourceWordOf(0x9150), "Other");
    // Categories that only name a type are unknown as a source.
    EXPECT_EQ(sourceWordOf(0x914B), "Unknown");
    EXPECT_EQ(sourceWordOf(0x914C), "Unknown");
    EXPECT_EQ(sourceWordOf(0x914D), "Unknown");
    EXPECT_EQ(sourceWordOf(GL_DEBUG_TYPE_ERROR), "Unknown");
    EXPECT_EQ(sourceWordOf(0), "Unknown");
}

TEST(DebugOutputTest, TypeWords) {
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_ERROR), "Error");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR), "Deprecated Behavior");
    EXPECT_EQ(typeWordOf(0x914B), "Deprecated Behavior");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR), "Undefined Behavior");
    EXPECT_EQ(typeWordOf(0x914C), "Undefined Behavior");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_PORTABILITY), "Portability");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_PERFORMANCE), "Performance");
    EXPECT_EQ(typeWordOf(0x914D), "Performance");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_OTHER), "Other");
    EXPECT_EQ(typeWordOf(0x9150), "Other");
    // Source-only categories and unrelated values are unknown as a type.
    EXPECT_EQ(typeWordOf(0x9149), "Unknown");
    EXPECT_EQ(typeWordOf(0x914A), "Unknown");
    EXPECT_EQ(typeWordOf(0x914E), "Unknown");
    EXPECT_EQ(typeWordOf(0x914F), "Unknown");
    EXPECT_EQ(typeWordOf(GL_DEBUG_TYPE_MARKER), "Unknown");
    EXPECT_EQ(typeWordOf(GL_DEBUG_SOURCE_API), "Unknown");
}

TEST(DebugOutputTest, SeverityWords) {
    EXPECT_EQ(severityWordOf(GL_DEBUG_SEVERITY_HIGH), "High");
    EXPECT_EQ(severityWordOf(GL_DEBUG_SEVERITY_MEDIUM), "Medium");
    EXPECT_EQ(severityWordOf(GL_DEBUG_SEVERITY_LOW), "Low");
    EXPECT_EQ(severityWordOf(GL_DEBUG_SEVERITY_NOTIFICATION), "Unknown");
    EXPECT_EQ(severityWordOf(0), "Unknown");
}

TEST(DebugOutputTest, CallbackPrintsEveryMessageButTheTwoNoisyIds) {
    const auto send = [](GLuint id, GLenum severity) {
        return captureStdout([&] {
            onDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, id, severity, -1, "note",
                           nullptr);
        });
    };
    EXPECT_EQ(send(131185, GL_DEBUG_SEVERITY_NOTIFICATION), "");
    EXPECT_EQ(send(131218, GL_DEBUG_SEVERITY_HIGH), "");
    EXPECT_EQ(send(131184, GL_DEBUG_SEVERITY_NOTIFICATION),
              "OpenGL Error: note [Source = API, Type = Other, Severity = Unknown, ID = 131184]\n");
    EXPECT_EQ(send(7, GL_DEBUG_SEVERITY_LOW),
              "OpenGL Error: note [Source = API, Type = Other, Severity = Low, ID = 7]\n");
}
