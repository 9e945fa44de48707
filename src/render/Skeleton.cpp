#include "render/Skeleton.h"

#include <algorithm>
#include <cmath>

namespace zarn {

namespace {

struct KeySpan {
    unsigned first;
    float factor; // 0 at keys[first], 1 at keys[first + 1]
};

// The two keys around t and how far t lies between them. Before the first
// key the factor is 0, after the last key it is 1 on the last pair, so the
// ends hold; keys sharing a time give no division by zero.
template <typename Key> KeySpan keySpan(const Key* keys, unsigned count, float t) {
    if (count < 2)
        return {0, 0.0f};
    for (unsigned i = 0; i + 1 < count; ++i) {
        const float start = float(keys[i].mTime);
        const float end = float(keys[i + 1].mTime);
        if (end > t) {
            const float interval = end - start;
            const float factor = interval > 0.0f ? (t - start) / interval : 0.0f;
            return {i, std::clamp(factor, 0.0f, 1.0f)};
        }
    }
    return {count - 2, 1.0f};
}

// One key list at time t in ticks; lists hold at least one key.
aiVector3D interpolateKeys(const aiVectorKey* keys, unsigned count, float t) {
    const KeySpan span = keySpan(keys, count, t);
    if (count < 2)
        return keys[0].mValue;
    const aiVector3D& start = keys[span.first].mValue;
    const aiVector3D& end = keys[span.first + 1].mValue;
    return start + span.factor * (end - start);
}

aiQuaternion interpolateKeys(const aiQuatKey* keys, unsigned count, float t) {
    const KeySpan span = keySpan(keys, count, t);
    if (count < 2)
        return keys[0].mValue;
    aiQuaternion result;
    aiQuaternion::Interpolate(result, keys[span.first].mValue, keys[span.first + 1].mValue,
                              span.factor);
    return result.Normalize();
}

const aiNodeAnim* findChannel(const aiAnimation* animation, const aiString& nodeName) {
    if (!animation)
        return nullptr;
    for (unsigned i = 0; i < animation->mNumChannels; ++i)
        if (animation->mChannels[i]->mNodeName == nodeName)
            return animation->mChannels[i];
    return nullptr;
}

// T x R x S from the channel's keys; a key list the file left empty keeps
// that part of the node's own transformation.
aiMatrix4x4 channelTransform(const aiNodeAnim& channel, float t, const aiMatrix4x4& own) {
    aiVector3D scaling, position;
    aiQuaternion rotation;
    if (channel.mNumScalingKeys == 0 || channel.mNumRotationKeys == 0 ||
        channel.mNumPositionKeys == 0)
        own.Decompose(scaling, rotation, position);
    if (channel.mNumScalingKeys > 0)
        scaling = interpolateKeys(channel.mScalingKeys, channel.mNumScalingKeys, t);
    if (channel.mNumRotationKeys > 0)
        rotation = interpolateKeys(channel.mRotationKeys, channel.mNumRotationKeys, t);
    if (channel.mNumPositionKeys > 0)
        position = interpolateKeys(channel.mPositionKeys, channel.mNumPositionKeys, t);
    return aiMatrix4x4(scaling, rotation, position);
}

} // namespace

std::uint32_t Skeleton::addBone(const std::string& name, const aiMatrix4x4& offset) {
    const auto known = boneMapping.find(name);
    if (known != boneMapping.end())
        return known->second;
    const std::uint32_t index = boneCount++;
    boneInfo.push_back({offset, aiMatrix4x4()});
    boneMapping.emplace(name, index);
    return index;
}

void Skeleton::clearBones() {
    boneMapping.clear();
    boneInfo.clear();
    boneCount = 0;
    hasBones = false;
}

const aiAnimation* Skeleton::animation() const {
    return scene && scene->mNumAnimations > 0 ? scene->mAnimations[0] : nullptr;
}

double Skeleton::ticksPerSecond() const {
    const aiAnimation* clip = animation();
    return clip && clip->mTicksPerSecond != 0.0 ? clip->mTicksPerSecond : 25.0;
}

double Skeleton::durationTicks() const {
    const aiAnimation* clip = animation();
    return clip ? clip->mDuration : 0.0;
}

float Skeleton::animationTime(double seconds) const {
    const double duration = durationTicks();
    if (!(duration > 0.0))
        return 0.0f;
    const double ticks = std::fmod(seconds * ticksPerSecond(), duration);
    return float(ticks < 0.0 ? ticks + duration : ticks);
}

void Skeleton::evaluateBones(float animationTime, const aiNode* node,
                             const aiMatrix4x4& parentTransform) {
    if (!node)
        return;
    aiMatrix4x4 local = node->mTransformation;
    if (const aiNodeAnim* channel = findChannel(animation(), node->mName))
        local = channelTransform(*channel, animationTime, node->mTransformation);
    const aiMatrix4x4 global = parentTransform * local;

    const auto bone = boneMapping.find(node->mName.C_Str());
    if (bone != boneMapping.end()) {
        BoneInfo& info = boneInfo[bone->second];
        info.finalTransformation = globalInverseTransform * global * info.offset;
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        evaluateBones(animationTime, node->mChildren[i], global);
}

void Skeleton::evaluateBones(float animationTime) {
    if (scene)
        evaluateBones(animationTime, scene->mRootNode, aiMatrix4x4());
}

glm::mat4 Skeleton::boneMatrix(std::uint32_t i) const {
    glm::mat4 columnMajor(1.0f);
    if (i >= boneInfo.size())
        return columnMajor;
    const aiMatrix4x4& rowMajor = boneInfo[i].finalTransformation;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            columnMajor[column][row] = rowMajor[row][column];
    return columnMajor;
}

} // namespace zarn
