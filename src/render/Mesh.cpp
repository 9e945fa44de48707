#include "render/Mesh.h"

#include "render/Shader.h"

#include <cstddef>

namespace zarn {

namespace {

template <typename T> void uploadBuffer(GLenum target, GLuint buffer, const std::vector<T>& data) {
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(data.size() * sizeof(T)), data.empty() ? nullptr : data.data(),
                 GL_STATIC_DRAW);
}

const void* byteOffset(std::size_t offset) {
    return reinterpret_cast<const void*>(offset);
}

} // namespace

Mesh::Mesh(const MeshData& data, std::vector<MeshTexture> textures)
    : vertexArray(GLVertexArray::generate()), vertexBuffer(GLBuffer::generate()),
      indexBuffer(GLBuffer::generate()), boneBuffer(GLBuffer::generate()),
      indexCount(GLsizei(data.indices.size())), textures(std::move(textures)) {
    for (const Vertex& vertex : data.vertices)
        bounds.add(vertex.position);
    glBindVertexArray(vertexArray.id());

    uploadBuffer(GL_ARRAY_BUFFER, vertexBuffer.id(), data.vertices);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          byteOffset(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          byteOffset(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          byteOffset(offsetof(Vertex, textureCoords)));

    // Only the first four influences reach the vertex stage; the ids stay
    // integers on the way.
    uploadBuffer(GL_ARRAY_BUFFER, boneBuffer.id(), data.bones);
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 4, GL_INT, sizeof(VertexBoneData),
                           byteOffset(offsetof(VertexBoneData, ids)));
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, 4, GL_FLOAT, GL_FALSE, sizeof(VertexBoneData),
                          byteOffset(offsetof(VertexBoneData, weights)));

    uploadBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.id(), data.indices);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void Mesh::bindTexturesAndMatrix(Shader& shader) const {
    glUseProgram(shader.programId);
    int diffuse = 1;
    int specular = 1;
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const MeshTexture& texture = textures[i];
        glActiveTexture(GLenum(GL_TEXTURE0 + i));
        const int number = texture.type == "texture_specular" ? specular++ : diffuse++;
        shader.setUniform(texture.type + std::to_string(number), int(i));
        glBindTexture(GL_TEXTURE_2D, texture.id);
    }
    shader.setUniform("modelMatrix", modelMatrix);
}

void Mesh::drawTriangles() const {
    glBindVertexArray(vertexArray.id());
    if (indexCount > 0)
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void Mesh::draw(Shader& shader) const {
    bindTexturesAndMatrix(shader);
    drawTriangles();
}

void Mesh::drawEnvironmentMapped(GLuint cubeMapTexture, Shader& shader) const {
    bindTexturesAndMatrix(shader);
    shader.setUniform("cubeMap", 2);
    shader.setUniform("ambientCoeff", 0.1f);
    shader.setUniform("diffuseCoeff", 0.5f);
    shader.setUniform("specularCoeff", 0.5f);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMapTexture);
    drawTriangles();
}

} // namespace zarn
