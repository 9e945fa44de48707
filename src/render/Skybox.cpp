#include "render/Skybox.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/GeometryData.h"
#include "render/Shader.h"
#include "render/TextureLoaders.h"

namespace zarn {

Skybox::Skybox(std::shared_ptr<Shader> shaderIn, const glm::mat4& projectionIn)
    : faceFiles{dataPath(data::skyFaces[0]), dataPath(data::skyFaces[1]),
                dataPath(data::skyFaces[2]), dataPath(data::skyFaces[3]),
                dataPath(data::skyFaces[4]), dataPath(data::skyFaces[5])},
      vertexArray(GLVertexArray::generate()), vertexBuffer(GLBuffer::generate()),
      shader(std::move(shaderIn)), projection(projectionIn),
      inverseProjection(glm::inverse(projectionIn)) {
    const GeometryData cube = skyCubePositions();
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(cube.positions.size() * sizeof(glm::vec3)),
                 cube.positions.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(glm::vec3), nullptr);
    glEnableVertexAttribArray(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    cubeMapTexture =
        GLTexture::adopt(loadCubeMap(std::vector<std::string>(faceFiles.begin(), faceFiles.end())));
}

void Skybox::setProjection(const glm::mat4& projectionIn) {
    projection = projectionIn;
    inverseProjection = glm::inverse(projectionIn);
}

void Skybox::draw(const glm::mat4& viewProjection) {
    // The camera's view without its translation: the sky turns, never moves.
    const glm::mat4 view = inverseProjection * viewProjection;
    const glm::mat4 rotationOnly = glm::mat4(glm::mat3(view));

    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glUseProgram(shader->programId);
    shader->setUniform("modelMatrix", glm::mat4(1.0f));
    shader->setUniform("viewProjMatrix", projection * rotationOnly);
    glBindVertexArray(vertexArray.id());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMapTexture.id());
    glDrawArrays(GL_TRIANGLES, 0, 36);
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
}

} // namespace zarn
