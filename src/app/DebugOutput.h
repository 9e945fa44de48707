#pragma once

#include <GL/glew.h>

#include <string>

namespace zarn {

// The console line for one driver debug message:
// "OpenGL Error: <message> [Source = ..., Type = ..., Severity = ..., ID = ...]".
std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const char* message);

// True for the ids that are pure noise on some drivers (buffer placement and
// shader recompilation notices); they never reach the console.
bool isIgnoredDebugMessage(GLuint id);

// GLDEBUGPROC: prints every message except the ignored ids to standard output.
void GLAPIENTRY onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               GLsizei length, const GLchar* message, const void* userParam);

} // namespace zarn
