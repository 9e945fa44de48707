// Stands in front of the real header while the GL-free library builds, so a
// source file there that reaches for the graphics stack fails to compile.
#error "the GL-free library cannot include OpenGL, GLEW or GLFW headers"
