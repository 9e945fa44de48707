#pragma once

#include "render/GLBuffer.h"
#include "render/GLVertexArray.h"
#include "render/ModelFile.h"
#include "render/Occlusion.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

namespace zarn {

class Shader;

// A texture a mesh draws with. The model that loaded it owns the object.
struct MeshTexture {
    GLuint id = 0;
    std::string type; // "texture_diffuse" or "texture_specular"
    std::string path; // as the model file names it
};

// One mesh on the GPU: vertices (position, normal, texture coordinates),
// bone data and triangle indices in their own vertex array, its textures
// and its own model matrix.
class Mesh {
public:
    // Uploads the mesh; leaves no vertex array bound.
    Mesh(const MeshData& data, std::vector<MeshTexture> textures);

    // Binds textures to units 0 upwards in list order as texture_diffuse1,
    // texture_diffuse2, ..., texture_specular1, ..., sets "modelMatrix" and
    // draws the triangles.
    void draw(Shader& shader) const;
    // As draw, with the cube map on unit 2 as "cubeMap" and the frame's
    // fixed lighting coefficients.
    void drawEnvironmentMapped(GLuint cubeMapTexture, Shader& shader) const;

    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    GLBuffer indexBuffer;
    GLBuffer boneBuffer;
    GLsizei indexCount = 0;
    std::vector<MeshTexture> textures;
    glm::mat4 modelMatrix{1.0f};
    Box bounds; // of the vertices as loaded, before the model matrix

private:
    void bindTexturesAndMatrix(Shader& shader) const;
    void drawTriangles() const;
};

} // namespace zarn
