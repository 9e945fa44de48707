// Compiled by a test with the GL-free library's include path, where it must fail.
#include <GL/glew.h>
