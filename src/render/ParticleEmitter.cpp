#include "render/ParticleEmitter.h"

#include "render/PointSprites.h"
#include "render/Shader.h"
#include "render/TextureLoaders.h"

#include <cstddef>

namespace zarn {

std::shared_ptr<const GLTexture> loadParticleSprite(const std::string& path) {
    return std::make_shared<const GLTexture>(GLTexture::adopt(loadParticleTexture(path)));
}

ParticleEmitter::ParticleEmitter(std::shared_ptr<Shader> shader, const glm::mat4& projection,
                                 std::uint32_t count, const std::string& texturePath)
    : ParticleEmitter(std::move(shader), projection, count, loadParticleSprite(texturePath)) {}

ParticleEmitter::ParticleEmitter(std::shared_ptr<Shader> shader, const glm::mat4&,
                                 std::uint32_t count, std::shared_ptr<const GLTexture> sprite)
    : shader(std::move(shader)), texture(std::move(sprite)), simulation(count) {}

void ParticleEmitter::setUpBuffers() {
    vertexArray = GLVertexArray::generate();
    vertexBuffer = GLBuffer::generate();
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    // Position, colour and size; the rest of the record is skipped.
    const auto stride = GLsizei(sizeof(Particle));
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Particle, position)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Particle, colour)));
    glVertexAttribPointer(2, 1, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(Particle, size)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleEmitter::upload() {
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(simulation.particles.size() * sizeof(Particle)),
                 simulation.particles.data(), GL_DYNAMIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleEmitter::advance(float deltaSeconds) {
    simulation.advance(deltaSeconds);
    moved = true;
}

void ParticleEmitter::draw() {
    if (needsInit) {
        setUpBuffers();
        needsInit = false;
    }
    if (moved) {
        upload();
        moved = false;
    }

    glUseProgram(shader->programId);
    drawPointSprites(vertexArray.id(), texture ? texture->id() : 0,
                     GLsizei(simulation.particles.size()), GL_ONE, GL_SRC_COLOR);
}

} // namespace zarn
