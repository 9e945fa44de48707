#include "render/ModelFile.h"

#include "FuzzFile.h"

#include <cmath>

using namespace zarn;
using zarn::fuzz::require;

namespace {

// The game reads .obj and .dae files; bytes that open like XML are named
// .dae, everything else .obj, so each reader sees what mutates its seeds.
bool looksLikeXml(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size && i < 64; ++i) {
        if (data[i] == '<')
            return true;
        if (data[i] != ' ' && data[i] != '\t' && data[i] != '\r' && data[i] != '\n')
            return false;
    }
    return false;
}

} // namespace

// Allocations are traced through Assimp's own frames, so that the leak
// suppression for the library also covers what the frames skipped by an
// import that faulted leave behind.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

// Any bytes as a model file: whatever loads must be safe to upload and to
// animate, with every index and bone id in range.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFile obj(".obj");
    static const fuzz::FuzzFile dae(".dae");
    const fuzz::FuzzFile& file = looksLikeXml(data, size) ? dae : obj;
    ModelFile model = loadModelFile(file.write(data, size));

    Skeleton& skeleton = model.skeleton;
    require(skeleton.boneCount <= maxSkinningBones &&
            skeleton.boneInfo.size() == skeleton.boneCount);
    for (const MeshData& mesh : model.meshes) {
        require(mesh.indices.size() % 3 == 0 && mesh.bones.size() == mesh.vertices.size());
        for (const std::uint32_t index : mesh.indices)
            require(index < mesh.vertices.size());
        for (const VertexBoneData& vertex : mesh.bones)
            for (int slot = 0; slot < VertexBoneData::slots; ++slot)
                require(vertex.weights[slot] == 0.0f || vertex.ids[slot] < skeleton.boneCount);
    }
    for (const double seconds : {0.0, 0.37, 1e9}) {
        const float time = skeleton.animationTime(seconds);
        require(std::isfinite(time) && time >= 0.0f);
        skeleton.evaluateBones(time);
    }
    for (std::uint32_t bone = 0; bone <= skeleton.boneCount; ++bone)
        skeleton.boneMatrix(bone);
    return 0;
}
