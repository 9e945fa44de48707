#pragma once

#include "render/GLObject.h"

namespace zarn {

struct GLFramebufferKind {
    static void generate(GLuint& name) { glGenFramebuffers(1, &name); }
    static void destroy(GLuint name) { glDeleteFramebuffers(1, &name); }
};

// An owned framebuffer.
using GLFramebuffer = GLObject<GLFramebufferKind>;

} // namespace zarn
