#pragma once

#include <assimp/Importer.hpp>
#include <assimp/anim.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zarn {

// The model program's bone array, "uniform mat4 gBones[32]".
inline constexpr std::uint32_t maxSkinningBones = 32;

// One bone: its offset (mesh space to bone space) and its latest evaluated
// transformation, both in the model file's row-major layout.
struct BoneInfo {
    aiMatrix4x4 offset;
    aiMatrix4x4 finalTransformation;
};

// The bones of one model file and the scene whose first animation moves
// them. The importer is kept alive because the scene's nodes and animation
// are read on every evaluation. Bone maths stay in the importer's row-major
// matrices; boneMatrix() transposes once for upload.
class Skeleton {
public:
    // Index of the named bone, recorded with its offset on first sight.
    std::uint32_t addBone(const std::string& name, const aiMatrix4x4& offset);

    // Forgets every bone, so the model draws in its bind pose.
    void clearBones();

    // The scene's first animation, or null.
    const aiAnimation* animation() const;
    // Ticks per second of the first animation, 25 when the file gives none.
    double ticksPerSecond() const;
    // Length of the first animation in ticks; 0 without one.
    double durationTicks() const;
    // Animation time in ticks at `seconds` into a looping play-back.
    float animationTime(double seconds) const;

    // Fills the final transformation of every bone at or below node, with
    // parentTransform the global transformation of node's parent.
    void evaluateBones(float animationTime, const aiNode* node, const aiMatrix4x4& parentTransform);
    // The same from the scene's root node with the identity.
    void evaluateBones(float animationTime);

    // Bone i's final transformation, column-major for glUniformMatrix4fv.
    glm::mat4 boneMatrix(std::uint32_t i) const;

    std::map<std::string, std::uint32_t> boneMapping;
    std::uint32_t boneCount = 0;
    std::vector<BoneInfo> boneInfo;
    aiMatrix4x4 globalInverseTransform;
    bool hasBones = false;
    std::unique_ptr<Assimp::Importer> importer; // owns scene
    const aiScene* scene = nullptr;
};

} // namespace zarn
