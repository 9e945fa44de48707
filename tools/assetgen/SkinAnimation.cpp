#include "SkinAnimation.h"

namespace assetgen {

SkinAnimation sampleSkinAnimation(const SkinSkeleton& skeleton, const std::string& name,
                                  float seconds, int keyCount, const SkinPoseFunction& pose) {
    const std::size_t jointCount = skeleton.joints.size();
    std::vector<glm::mat4> bind(jointCount);
    for (std::size_t j = 0; j < jointCount; ++j) {
        bind[j] = skeleton.bindLocal(static_cast<int>(j));
    }

    SkinAnimation clip;
    clip.name = name;
    clip.keys.assign(jointCount, {});
    for (int k = 0; k < keyCount; ++k) {
        const float u = static_cast<float>(k) / static_cast<float>(keyCount - 1);
        clip.times.push_back(u * seconds);
        std::vector<glm::mat4> locals = bind;
        if (k + 1 < keyCount) {
            pose(u, locals);
        } else {
            for (std::size_t j = 0; j < jointCount; ++j) {
                locals[j] = clip.keys[j].front();
            }
        }
        for (std::size_t j = 0; j < jointCount; ++j) {
            clip.keys[j].push_back(locals[j]);
        }
    }

    for (std::size_t j = 0; j < jointCount; ++j) {
        bool moves = false;
        for (const glm::mat4& key : clip.keys[j]) {
            moves = moves || key != bind[j];
        }
        if (!moves) {
            clip.keys[j].clear();
        }
    }
    return clip;
}

} // namespace assetgen
