#include "render/RenderFramework.h"

#include "render/Shader.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <array>
#include <cmath>
#include <iostream>
#include <memory>

namespace zarn {

namespace {

const char* const fallbackVertexSource = "#version 330 core\n"
                                         "layout(location = 0) in vec3 position;\n"
                                         "void main() {\n"
                                         "\tgl_Position = vec4(position.xy, -position.z, 1);\n"
                                         "}";

const char* const fallbackFragmentSource = "#version 330 core \n"
                                           "uniform vec3 fragColor = vec3(1, 0, 0); \n"
                                           "out vec4 color; \n"
                                           "void main() {  \n"
                                           "\tcolor = vec4(fragColor, 1); \n"
                                           "}";

std::unique_ptr<Shader> fallback;
BuiltInMeshObjects meshObjects;

// Appends one convex crystal around centre; faces are wound so that their
// normals point away from the centre.
void appendCrystal(BuiltInMeshData& mesh, const glm::vec3& centre, const glm::vec3* corners,
                   int cornerCount, const std::array<int, 3>* faces, int faceCount) {
    const auto base = std::uint32_t(mesh.positions.size());
    for (int i = 0; i < cornerCount; ++i)
        mesh.positions.push_back(centre + corners[i]);
    for (int f = 0; f < faceCount; ++f) {
        std::array<int, 3> face = faces[f];
        const glm::vec3 a = corners[face[0]], b = corners[face[1]], c = corners[face[2]];
        if (glm::dot(glm::cross(b - a, c - a), a + b + c) < 0.0f)
            std::swap(face[1], face[2]);
        for (int corner : face)
            mesh.indices.push_back(base + std::uint32_t(corner));
    }
}

} // namespace

BuiltInMeshData makeBuiltInMesh() {
    // 32 octahedra and 80 tetrahedra: exactly 512 corners and 576 triangles,
    // spread over a sphere along a golden-angle spiral.
    constexpr int octahedronCount = 32;
    constexpr int crystalCount = 112;
    constexpr float size = 0.06f;
    const glm::vec3 octahedron[6] = {{size, 0, 0},  {-size, 0, 0}, {0, size, 0},
                                     {0, -size, 0}, {0, 0, size},  {0, 0, -size}};
    const std::array<int, 3> octahedronFaces[8] = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4},
                                                   {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    const glm::vec3 tetrahedron[4] = {
        {size, size, size}, {size, -size, -size}, {-size, size, -size}, {-size, -size, size}};
    const std::array<int, 3> tetrahedronFaces[4] = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}};

    BuiltInMeshData mesh;
    mesh.positions.reserve(512);
    mesh.indices.reserve(1728);
    const float goldenAngle = 2.39996323f;
    for (int i = 0; i < crystalCount; ++i) {
        const float y = 1.0f - 2.0f * (float(i) + 0.5f) / float(crystalCount);
        const float radius = std::sqrt(1.0f - y * y);
        const float angle = goldenAngle * float(i);
        const glm::vec3 centre(radius * std::cos(angle), y, radius * std::sin(angle));
        if (i < octahedronCount)
            appendCrystal(mesh, centre, octahedron, 6, octahedronFaces, 8);
        else
            appendCrystal(mesh, centre, tetrahedron, 4, tetrahedronFaces, 4);
    }
    for (glm::vec3& position : mesh.positions)
        position *= glm::vec3(-1.0f, 1.0f, -1.0f);
    return mesh;
}

bool initRenderFramework() {
    if (!glfwGetCurrentContext()) {
        std::cout << "No context available. Exiting." << std::endl;
        return false;
    }
    if (!GLEW_VERSION_4_3) {
        std::cout << "GLEW not available. Exiting." << std::endl;
        return false;
    }

    GLint currentProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &currentProgram);
    if (currentProgram == 0) {
        fallback = std::make_unique<Shader>(Shader::InlineSources{}, fallbackVertexSource,
                                            fallbackFragmentSource);
        glUseProgram(fallback->programId);
    }

    const BuiltInMeshData mesh = makeBuiltInMesh();
    glGenVertexArrays(1, &meshObjects.vertexArray);
    glBindVertexArray(meshObjects.vertexArray);
    glGenBuffers(1, &meshObjects.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, meshObjects.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mesh.positions.size() * sizeof(glm::vec3)),
                 mesh.positions.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glGenBuffers(1, &meshObjects.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, meshObjects.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh.indices.size() * sizeof(std::uint32_t)),
                 mesh.indices.data(), GL_STATIC_DRAW);
    // Unbind the vertex array first so that it keeps its index buffer.
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void shutdownRenderFramework() {
    glDeleteBuffers(1, &meshObjects.vertexBuffer);
    glDeleteBuffers(1, &meshObjects.indexBuffer);
    glDeleteVertexArrays(1, &meshObjects.vertexArray);
    meshObjects = {};
    fallback.reset();
}

const Shader* fallbackProgram() {
    return fallback.get();
}

const BuiltInMeshObjects& builtInMesh() {
    return meshObjects;
}

} // namespace zarn
