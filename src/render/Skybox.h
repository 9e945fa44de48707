#pragma once

#include "render/GLBuffer.h"
#include "render/GLTexture.h"
#include "render/GLVertexArray.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>
#include <string>

namespace zarn {

class Shader;

// The sky around the scene: a cube-mapped box that turns with the camera but
// never moves with it. Its cube map is also what the frame model mirrors.
class Skybox {
public:
    // Loads the six faces; a face that cannot be loaded ends the program.
    Skybox(std::shared_ptr<Shader> shader, const glm::mat4& projection);
    // The camera's projection after a resize.
    void setProjection(const glm::mat4& projection);

    // Draws the sky on the far plane, behind everything, without writing
    // depth, so it may come first in the frame; leaves the depth function
    // GL_LESS.
    void draw(const glm::mat4& viewProjection);

    std::array<std::string, 6> faceFiles; // +X, -X, +Y, -Y, +Z, -Z
    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    std::shared_ptr<Shader> shader;
    GLTexture cubeMapTexture;
    glm::mat4 projection;
    glm::mat4 inverseProjection;
};

} // namespace zarn
