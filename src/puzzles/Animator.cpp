#include "puzzles/Animator.h"

#include "puzzles/MatrixInterpolation.h"

namespace zarn {

namespace {

using Interpolation = glm::mat4 (*)(const glm::mat4&, const glm::mat4&, float);

// Finished tweens are erased in place; the ones behind them are still
// advanced in the same pass.
void advance(std::vector<Animation>& animations, float deltaSeconds, Interpolation interpolate) {
    for (auto animation = animations.begin(); animation != animations.end();) {
        animation->elapsed += deltaSeconds;
        if (animation->elapsed >= animation->duration) {
            *animation->target = animation->end;
            animation = animations.erase(animation);
        } else {
            *animation->target = interpolate(animation->start, animation->end,
                                             animation->elapsed / animation->duration);
            ++animation;
        }
    }
}

} // namespace

void Animator::addModelAnimation(glm::mat4& pose, const glm::mat4& end, float durationSeconds) {
    modelAnimations.push_back({&pose, pose, end, durationSeconds, 0.0f});
}

void Animator::addGeometryAnimation(glm::mat4& pose, const glm::mat4& end, float durationSeconds) {
    geometryAnimations.push_back({&pose, pose, end, durationSeconds, 0.0f});
}

void Animator::update(float deltaSeconds) {
    advance(geometryAnimations, deltaSeconds, interpolateTransform);
    advance(modelAnimations, deltaSeconds, interpolateKeepingEndScale);
}

} // namespace zarn
