#include "render/ParticleCloud.h"

#include "render/ParticleSimulation.h"
#include "render/PointSprites.h"
#include "render/Shader.h"
#include "render/TextureLoaders.h"

namespace zarn {

ParticleCloud::ParticleCloud(std::shared_ptr<Shader> shader, const glm::mat4&, std::uint32_t count,
                             const std::string& texturePath)
    : shader(std::move(shader)), vertexArray(GLVertexArray::generate()),
      vertexBuffer(GLBuffer::generate()), count(count) {
    const std::vector<glm::vec3> vertices = makeCloudVertices(count);
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(glm::vec3)), vertices.data(),
                 GL_STATIC_DRAW);
    // Two vectors per particle: a position seed and the particle's traits.
    const auto stride = GLsizei(2 * sizeof(glm::vec3));
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(sizeof(glm::vec3)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    texture = GLTexture::adopt(loadParticleTexture(texturePath));
}

void ParticleCloud::draw(float time) {
    glUseProgram(shader->programId);
    shader->setUniform("time", time);
    // Additive: the water glints brighten the river bed.
    drawPointSprites(vertexArray.id(), texture.id(), GLsizei(count), GL_ONE, GL_ONE);
}

} // namespace zarn
