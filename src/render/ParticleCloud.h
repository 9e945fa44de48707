#pragma once

#include "render/GLBuffer.h"
#include "render/GLTexture.h"
#include "render/GLVertexArray.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace zarn {

class Shader;

// A fixed cloud of random points whose shader does all the moving: the
// buffer is filled once at construction.
class ParticleCloud {
public:
    // The projection is accepted for the callers' sake; the shader gets the
    // camera's matrices every frame instead.
    ParticleCloud(std::shared_ptr<Shader> shader, const glm::mat4& projection, std::uint32_t count,
                  const std::string& texturePath);

    // Draws additively with the shader's "time" uniform set to time (0 to 1,
    // repeating). Leaves blending on with the usual alpha blend function,
    // depth writes on, unit 0 active.
    void draw(float time);

    std::shared_ptr<Shader> shader;
    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    std::uint32_t count;
    GLTexture texture;
};

} // namespace zarn
