#include "render/ModelFile.h"

#include <assimp/postprocess.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <csignal>
#include <filesystem>
#include <future>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>

namespace zarn {

namespace {

constexpr unsigned importFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                 aiProcess_FlipUVs | aiProcess_JoinIdenticalVertices;

// Some malformed files make the system's Assimp read through a null pointer
// (a COLLADA <vertex_weights> without its count, for one) or fail one of its
// own assertions, which aborts (an accessor stride beyond its array). Such a
// fault inside the import ends the import rather than the game: the handler jumps
// back to readScene, and the importer, left in an unknown state, is kept
// aside and never destroyed. Imports take turns (importTurn), so one set of
// handlers is in place at a time; a fault on another thread meanwhile gets
// the handler that was there before.
std::mutex importTurn;
constexpr int guardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGABRT};
struct sigaction handlersBefore[std::size(guardedSignals)];
thread_local sigjmp_buf* importFaultReturn = nullptr;

extern "C" void returnFromImportFault(int signal) {
    if (importFaultReturn)
        siglongjmp(*importFaultReturn, 1);
    // Not the importing thread: hand the signal back to whoever had it, and
    // let the fault happen again under that handler.
    for (std::size_t i = 0; i < std::size(guardedSignals); ++i)
        if (guardedSignals[i] == signal)
            sigaction(signal, &handlersBefore[i], nullptr);
}

// Never destroyed, so that what the importers hold stays reachable to the
// end, for the leak checker too.
auto* const abandonedImporters = new std::vector<Assimp::Importer*>;

// The imported scene, or nothing with `faulted` set when the import faulted.
const aiScene* readScene(std::unique_ptr<Assimp::Importer>& importer, const std::string& path,
                         bool& faulted) {
    const std::lock_guard<std::mutex> turn(importTurn);
    struct sigaction guard {};
    guard.sa_handler = returnFromImportFault;
    sigemptyset(&guard.sa_mask);
    sigjmp_buf faultReturn;
    importFaultReturn = &faultReturn;
    for (std::size_t i = 0; i < std::size(guardedSignals); ++i)
        sigaction(guardedSignals[i], &guard, &handlersBefore[i]);

    const aiScene* volatile scene = nullptr;
    faulted = sigsetjmp(faultReturn, 1) != 0;
    if (!faulted)
        scene = importer->ReadFile(path, importFlags);
    else
        abandonedImporters->push_back(importer.release());

    for (std::size_t i = 0; i < std::size(guardedSignals); ++i)
        sigaction(guardedSignals[i], &handlersBefore[i], nullptr);
    importFaultReturn = nullptr;
    return scene;
}

glm::vec3 toGlm(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

bool isFinite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The triangles of the mesh. Triangulation leaves lines and points alone,
// so faces of any other size are skipped, as are faces naming a vertex the
// mesh does not have.
std::vector<std::uint32_t> triangleIndices(const aiMesh& mesh) {
    std::vector<std::uint32_t> indices;
    indices.reserve(std::size_t(mesh.mNumFaces) * 3);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3)
            continue;
        if (face.mIndices[0] >= mesh.mNumVertices || face.mIndices[1] >= mesh.mNumVertices ||
            face.mIndices[2] >= mesh.mNumVertices)
            continue;
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    return indices;
}

// Gives vertices without a usable normal the area-weighted normal of the
// triangles around them. Meshes of lines or points get no normals from the
// importer; a vertex on no triangle keeps a zero normal.
void repairNormals(MeshData& mesh, const std::vector<bool>& missing) {
    std::vector<glm::vec3> sums(mesh.vertices.size(), glm::vec3(0.0f));
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const std::uint32_t a = mesh.indices[i], b = mesh.indices[i + 1], c = mesh.indices[i + 2];
        const glm::vec3 faceNormal =
            glm::cross(mesh.vertices[b].position - mesh.vertices[a].position,
                       mesh.vertices[c].position - mesh.vertices[a].position);
        for (std::uint32_t corner : {a, b, c})
            sums[corner] += faceNormal;
    }
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
        if (!missing[v])
            continue;
        const float length = glm::length(sums[v]);
        mesh.vertices[v].normal =
            length > 0.0f && std::isfinite(length) ? sums[v] / length : glm::vec3(0.0f);
    }
}

void appendTextures(const aiMaterial& material, aiTextureType type, const char* typeName,
                    std::vector<TextureReference>& textures) {
    const unsigned count = material.GetTextureCount(type);
    for (unsigned i = 0; i < count; ++i) {
        aiString path;
        if (material.GetTexture(type, i, &path) == AI_SUCCESS)
            textures.push_back({typeName, path.C_Str()});
    }
}

void loadBones(const aiMesh& mesh, Skeleton& skeleton, std::vector<VertexBoneData>& bones) {
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        const std::uint32_t index = skeleton.addBone(bone.mName.C_Str(), bone.mOffsetMatrix);
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            const aiVertexWeight& weight = bone.mWeights[w];
            if (weight.mVertexId < bones.size())
                bones[weight.mVertexId].add(index, weight.mWeight);
        }
    }
}

MeshData loadMesh(const aiScene& scene, const aiMesh& mesh, Skeleton& skeleton) {
    MeshData data;
    data.vertices.resize(mesh.mNumVertices);
    std::vector<bool> missingNormals(mesh.mNumVertices, false);
    bool anyMissing = false;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        Vertex& vertex = data.vertices[v];
        vertex.position = toGlm(mesh.mVertices[v]);
        if (mesh.mNormals)
            vertex.normal = toGlm(mesh.mNormals[v]);
        if (!mesh.mNormals || !isFinite(vertex.normal) || vertex.normal == glm::vec3(0.0f))
            missingNormals[v] = anyMissing = true;
        if (mesh.mTextureCoords[0])
            vertex.textureCoords = {mesh.mTextureCoords[0][v].x, mesh.mTextureCoords[0][v].y};
    }
    data.indices = triangleIndices(mesh);
    if (anyMissing)
        repairNormals(data, missingNormals);

    if (mesh.mMaterialIndex < scene.mNumMaterials) {
        const aiMaterial& material = *scene.mMaterials[mesh.mMaterialIndex];
        appendTextures(material, aiTextureType_DIFFUSE, "texture_diffuse", data.textures);
        appendTextures(material, aiTextureType_SPECULAR, "texture_specular", data.textures);
    }

    data.bones.resize(mesh.mNumVertices);
    loadBones(mesh, skeleton, data.bones);
    return data;
}

} // namespace

void VertexBoneData::add(std::uint32_t boneId, float weight) {
    for (int slot = 0; slot < slots; ++slot) {
        if (weights[slot] == 0.0f) {
            ids[slot] = boneId;
            weights[slot] = weight;
            return;
        }
    }
}

namespace {

// Imports made ahead by a ModelFilePrefetch, by path, until taken.
std::mutex prefetchedLock;
std::multimap<std::string, std::future<ModelFile>> prefetched;

ModelFile importModelFile(const std::string& path);

} // namespace

ModelFile loadModelFile(const std::string& path) {
    std::unique_lock<std::mutex> lock(prefetchedLock);
    const auto found = prefetched.find(path);
    if (found == prefetched.end()) {
        lock.unlock();
        return importModelFile(path);
    }
    std::future<ModelFile> ahead = std::move(found->second);
    prefetched.erase(found);
    lock.unlock();
    return ahead.get();
}

ModelFilePrefetch::ModelFilePrefetch(std::vector<std::string> paths) {
    std::vector<std::promise<ModelFile>> promises(paths.size());
    {
        const std::lock_guard<std::mutex> lock(prefetchedLock);
        for (std::size_t i = 0; i < paths.size(); ++i)
            prefetched.emplace(paths[i], promises[i].get_future());
    }
    worker = std::thread([paths = std::move(paths), promises = std::move(promises)]() mutable {
        for (std::size_t i = 0; i < paths.size(); ++i)
            promises[i].set_value(importModelFile(paths[i]));
    });
}

ModelFilePrefetch::~ModelFilePrefetch() {
    worker.join();
    const std::lock_guard<std::mutex> lock(prefetchedLock);
    prefetched.clear();
}

std::vector<std::string> modelFilesUnder(const std::string& directory) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::recursive_directory_iterator file(directory, error), end; !error && file != end;
         file.increment(error))
        if (file->path().extension() == ".obj" || file->path().extension() == ".dae")
            paths.push_back(file->path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

namespace {

ModelFile importModelFile(const std::string& path) {
    ModelFile model;
    auto importer = std::make_unique<Assimp::Importer>();
    bool faulted = false;
    const aiScene* scene = readScene(importer, path, faulted);
    if (faulted) {
        std::cout << "ERROR: ASSIMP: Reading \"" << path << "\" failed." << std::endl;
        return model;
    }
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode ||
        scene->mNumMeshes == 0) {
        // A text file of no known kind can import as an empty scene without an error.
        const std::string reason = importer->GetErrorString();
        std::cout << "ERROR: ASSIMP: " << (reason.empty() ? "no meshes in " + path : reason)
                  << std::endl;
        return model;
    }

    const std::size_t slash = path.find_last_of('/');
    model.directory = slash == std::string::npos ? "." : path.substr(0, slash);

    Skeleton& skeleton = model.skeleton;
    skeleton.globalInverseTransform = scene->mRootNode->mTransformation;
    skeleton.globalInverseTransform.Inverse();
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        model.meshes.push_back(loadMesh(*scene, *scene->mMeshes[m], skeleton));
    skeleton.hasBones = skeleton.boneCount > 0;

    // More bones than gBones holds would index past it: draw such a model
    // in its bind pose rather than with some bones wrong.
    if (skeleton.boneCount > maxSkinningBones) {
        std::cout << "Model " << path << " has " << skeleton.boneCount << " bones, more than the "
                  << maxSkinningBones << " the model program takes; it is drawn unskinned"
                  << std::endl;
        skeleton.clearBones();
        for (MeshData& mesh : model.meshes)
            mesh.bones.assign(mesh.bones.size(), VertexBoneData{});
    }

    skeleton.scene = scene;
    skeleton.importer = std::move(importer);
    return model;
}

} // namespace

} // namespace zarn
