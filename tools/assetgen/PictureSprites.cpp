#include "PictureSprites.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cmath>

namespace assetgen {

namespace {

template <typename Profile> ImageCanvas paintRoundSprite(int size, Profile profile) {
    ImageCanvas image(size, size, glm::vec4(0.0f));
    const float half = size * 0.5f;
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float r = glm::length(p - half) / half;
        const float alpha = r >= 1.0f ? 0.0f : glm::clamp(profile(r), 0.0f, 1.0f);
        return glm::vec4(glm::vec3(alpha), alpha);
    });
    return image;
}

} // namespace

ImageCanvas paintParticleDisc(int size) {
    return paintRoundSprite(size, [](float r) { return 1.0f - glm::smoothstep(0.55f, 0.92f, r); });
}

ImageCanvas paintParticleGlow(int size) {
    return paintRoundSprite(size, [](float r) {
        // A Gaussian lowered so it reaches exactly zero at the rim.
        const float sigma = 0.33f;
        const float rim = std::exp(-1.0f / (2.0f * sigma * sigma));
        return (std::exp(-r * r / (2.0f * sigma * sigma)) - rim) / (1.0f - rim);
    });
}

} // namespace assetgen
