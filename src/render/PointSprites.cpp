#include "render/PointSprites.h"

namespace zarn {

void drawPointSprites(GLuint vertexArray, GLuint texture, GLsizei count, GLenum sourceFactor,
                      GLenum destinationFactor) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_BLEND);
    glBlendFunc(sourceFactor, destinationFactor);
    glDepthMask(GL_FALSE);
    glBindVertexArray(vertexArray);
    // The programs set each sprite's size themselves.
    glEnable(GL_PROGRAM_POINT_SIZE);
    glDrawArrays(GL_POINTS, 0, count);
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace zarn
