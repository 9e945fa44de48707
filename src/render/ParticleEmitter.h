#pragma once

#include "render/GLBuffer.h"
#include "render/GLTexture.h"
#include "render/GLVertexArray.h"
#include "render/ParticleSimulation.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace zarn {

class Shader;

// A small CPU-simulated emitter drawn as point sprites. Callers set
// simulation.spawnArea, velocity and colours right after construction.
class ParticleEmitter {
public:
    // The projection is accepted for the callers' sake; the shader gets the
    // camera's matrices every frame instead.
    ParticleEmitter(std::shared_ptr<Shader> shader, const glm::mat4& projection,
                    std::uint32_t count, const std::string& texturePath);
    // Draws with a sprite shared with other emitters, so that many emitters
    // cost one decoded image and one texture between them.
    ParticleEmitter(std::shared_ptr<Shader> shader, const glm::mat4& projection,
                    std::uint32_t count, std::shared_ptr<const GLTexture> sprite);

    // Advances the particles by the frame time; the first call spawns them.
    void advance(float deltaSeconds);
    // Draws the particles where the latest advance left them, uploading them
    // only when they moved since the last draw. Leaves blending on with the
    // usual alpha blend function, depth writes on, unit 0 active.
    void draw();

    std::shared_ptr<Shader> shader;
    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    std::shared_ptr<const GLTexture> texture; // the sprite, possibly shared
    bool needsInit = true;
    bool moved = false; // advanced since the last upload
    ParticleSimulation simulation;

private:
    void setUpBuffers();
    void upload();
};

// A point-sprite image loaded once for any number of emitters; see
// loadParticleTexture for the format and the message on failure.
std::shared_ptr<const GLTexture> loadParticleSprite(const std::string& path);

} // namespace zarn
