#pragma once

#include <GL/glew.h>

namespace zarn {

// Draws count points of vertexArray as sprites of texture with the program
// already bound and the given blend factors. The sprite is bound on unit 0
// whatever unit the previous draw left active, and no depth is written: a
// sprite is a square, and its transparent corners would otherwise hide
// whatever is drawn behind them later. Leaves blending on with the usual
// alpha factors, depth writes on and no vertex array bound.
void drawPointSprites(GLuint vertexArray, GLuint texture, GLsizei count, GLenum sourceFactor,
                      GLenum destinationFactor);

} // namespace zarn
