#pragma once

#include "render/GLObject.h"

namespace zarn {

struct GLBufferKind {
    static void generate(GLuint& name) { glGenBuffers(1, &name); }
    static void destroy(GLuint name) { glDeleteBuffers(1, &name); }
};

// An owned buffer (vertex, index or instance data).
using GLBuffer = GLObject<GLBufferKind>;

} // namespace zarn
