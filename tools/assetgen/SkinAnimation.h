#pragma once

#include "SkinSkeleton.h"

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

// Sampled local joint matrices of one looping clip.
struct SkinAnimation {
    std::string name;
    std::vector<float> times; // seconds, first 0, last the clip length
    // keys[joint][key]; an empty list means the joint stays in its bind pose.
    std::vector<std::vector<glm::mat4>> keys;

    bool empty() const { return times.empty(); }
};

// Fills every joint's local matrix for the clip phase u in [0, 1]; the
// vector arrives holding the bind pose.
using SkinPoseFunction = std::function<void(float u, std::vector<glm::mat4>& locals)>;

// Samples `pose` at keyCount evenly spaced times over `seconds`. The last key
// is a copy of the first so the clip loops exactly, and joints the clip never
// moves get no keys at all.
SkinAnimation sampleSkinAnimation(const SkinSkeleton& skeleton, const std::string& name,
                                  float seconds, int keyCount, const SkinPoseFunction& pose);

} // namespace assetgen
