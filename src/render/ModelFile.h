#pragma once

#include "render/Skeleton.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace zarn {

// One vertex as uploaded: 32 bytes, tightly packed.
struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 textureCoords{0.0f};
};
static_assert(sizeof(Vertex) == 32, "Vertex is uploaded as is");

// Up to eight bone influences of one vertex as uploaded: 64 bytes, ids then
// weights. A slot is free while its weight is 0.
struct VertexBoneData {
    static constexpr int slots = 8;
    std::uint32_t ids[slots] = {};
    float weights[slots] = {};

    // Takes the first free slot; a ninth influence is dropped.
    void add(std::uint32_t boneId, float weight);
};
static_assert(sizeof(VertexBoneData) == 64, "VertexBoneData is uploaded as is");

// A texture a mesh's material names: "texture_diffuse" or "texture_specular",
// and the path as the file gives it, relative to the model's directory.
struct TextureReference {
    std::string type;
    std::string path;
};

// One mesh of a model file as plain data. Only triangles are kept.
struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<VertexBoneData> bones;      // one per vertex
    std::vector<TextureReference> textures; // diffuse ones first, then specular
};

// A whole model file: its meshes in file order, the directory its textures
// are relative to, and its bones with the scene that animates them.
struct ModelFile {
    std::vector<MeshData> meshes;
    std::string directory;
    Skeleton skeleton;
};

// Imports a model file with triangulation, smooth normals, flipped texture
// coordinates and joined vertices. A file that cannot be read, or holds no
// mesh, prints "ERROR: ASSIMP: " and the reason and gives an empty model; so
// does a file whose import faults inside Assimp. A model with more bones than
// the model program takes is loaded unskinned. While a ModelFilePrefetch
// lives, a path it was given is taken from its import instead, once.
ModelFile loadModelFile(const std::string& path);

// Imports model files on a worker thread, one after another, so that the
// imports overlap with other start-up work. Imports never run two at a time:
// the fault guard around them is process-wide.
class ModelFilePrefetch {
public:
    explicit ModelFilePrefetch(std::vector<std::string> paths);
    // Waits for the worker; imports nobody took are dropped.
    ~ModelFilePrefetch();
    ModelFilePrefetch(const ModelFilePrefetch&) = delete;
    ModelFilePrefetch& operator=(const ModelFilePrefetch&) = delete;

private:
    std::thread worker;
};

// The model files (.obj and .dae) anywhere under directory, sorted.
std::vector<std::string> modelFilesUnder(const std::string& directory);

} // namespace zarn
