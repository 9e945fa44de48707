#pragma once

#include "render/GLObject.h"

namespace zarn {

struct GLTextureKind {
    static void generate(GLuint& name) { glGenTextures(1, &name); }
    static void destroy(GLuint name) { glDeleteTextures(1, &name); }
};

// An owned texture.
using GLTexture = GLObject<GLTextureKind>;

} // namespace zarn
