#pragma once

#include "render/GLObject.h"

namespace zarn {

struct GLVertexArrayKind {
    static void generate(GLuint& name) { glGenVertexArrays(1, &name); }
    static void destroy(GLuint name) { glDeleteVertexArrays(1, &name); }
};

// An owned vertex array.
using GLVertexArray = GLObject<GLVertexArrayKind>;

} // namespace zarn
