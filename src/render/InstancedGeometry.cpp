#include "render/InstancedGeometry.h"

#include "render/GeometryData.h"
#include "render/Material.h"
#include "render/Shader.h"

namespace zarn {

namespace {

template <typename T>
GLBuffer uploadAttribute(GLuint location, GLint components, const std::vector<T>& values) {
    GLBuffer buffer = GLBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(values.size() * sizeof(T)), values.data(),
                 GL_STATIC_DRAW);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(location);
    return buffer;
}

} // namespace

InstancedGeometry::InstancedGeometry(const glm::mat4& modelMatrix, const GeometryData& data,
                                     std::shared_ptr<Material> material)
    : InstancedGeometry(std::vector<glm::mat4>{modelMatrix}, data, std::move(material)) {}

InstancedGeometry::InstancedGeometry(std::vector<glm::mat4> instancesIn, const GeometryData& data,
                                     std::shared_ptr<Material> materialIn)
    : vertexArray(GLVertexArray::generate()), count(GLsizei(data.indices.size())),
      material(std::move(materialIn)), instances(std::move(instancesIn)),
      instanceCount(GLsizei(instances.size())), localBounds(boundsOf(data.positions)) {
    if (!instances.empty())
        modelMatrix = instances.front();

    glBindVertexArray(vertexArray.id());
    positionBuffer = uploadAttribute(0, 3, data.positions);
    normalBuffer = uploadAttribute(1, 3, data.normals);
    coordBuffer = uploadAttribute(2, 2, data.textureCoords);
    indexBuffer = GLBuffer::generate();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.id());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(data.indices.size() * sizeof(std::uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);

    instanceBuffer = GLBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer.id());
    for (GLuint column = 0; column < 4; ++column) {
        glVertexAttribPointer(3 + column, 4, GL_FLOAT, GL_FALSE, sizeof(glm::mat4),
                              reinterpret_cast<const void*>(column * sizeof(glm::vec4)));
        glEnableVertexAttribArray(3 + column);
        glVertexAttribDivisor(3 + column, 1);
    }
    // The vertex array keeps its index buffer: unbind the array first.
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    uploadInstances();
}

void InstancedGeometry::uploadInstances() {
    instanceCount = GLsizei(instances.size());
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(instances.size() * sizeof(glm::mat4)),
                 instances.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void InstancedGeometry::place(const glm::mat4& matrix) {
    modelMatrix = matrix;
    if (instances.empty() || instances.front() == matrix)
        return;
    instances.front() = matrix;
    uploadInstances();
}

void InstancedGeometry::draw() {
    Shader& shader = *material->shader;
    glUseProgram(shader.programId);
    shader.setUniform("textureSampler", 0);
    if (material->specularTexture != -1)
        shader.setUniform("specularSampler", 1);
    shader.setUniform("modelMatrix", modelMatrix);
    material->setUniforms();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, material->diffuseTexture.id());
    if (material->specularTexture != -1) {
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, GLuint(material->specularTexture));
    }
    glBindVertexArray(vertexArray.id());
    glDrawElementsInstanced(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr, instanceCount);
    glBindVertexArray(0);
}

Box InstancedGeometry::bounds() const {
    Box box;
    for (const glm::mat4& instance : instances)
        box.add(transformed(localBounds, instance));
    return box;
}

} // namespace zarn
