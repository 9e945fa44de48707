#include "puzzles/Animator.h"

#include "puzzles/MatrixInterpolation.h"
#include "render/Placeable.h"

namespace zarn {

namespace {

using Interpolation = glm::mat4 (*)(const glm::mat4&, const glm::mat4&, float);

// Finished tweens are erased in place; the ones behind them are still
// advanced in the same pass.
void advance(std::vector<Animation>& animations, float deltaSeconds, Interpolation interpolate) {
    for (auto animation = animations.begin(); animation != animations.end();) {
        animation->elapsed += deltaSeconds;
        if (animation->elapsed >= animation->duration) {
            animation->target->place(animation->end);
            animation = animations.erase(animation);
        } else {
            animation->target->place(interpolate(animation->start, animation->end,
                                                 animation->elapsed / animation->duration));
            ++animation;
        }
    }
}

} // namespace

void Animator::addModelAnimation(Placeable& model, const glm::mat4& end, float durationSeconds) {
    modelAnimations.push_back({&model, model.placement(), end, durationSeconds, 0.0f});
}

void Animator::addGeometryAnimation(Placeable& geometry, const glm::mat4& end,
                                    float durationSeconds) {
    geometryAnimations.push_back({&geometry, geometry.placement(), end, durationSeconds, 0.0f});
}

void Animator::update(float deltaSeconds) {
    advance(geometryAnimations, deltaSeconds, interpolateTransform);
    advance(modelAnimations, deltaSeconds, interpolateKeepingEndScale);
}

} // namespace zarn
