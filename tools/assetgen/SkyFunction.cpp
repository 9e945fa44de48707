#include "SkyFunction.h"

#include "ImageNoise.h"

#include <glm/common.hpp>
#include <glm/exponential.hpp>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <cmath>

namespace assetgen {

namespace {

const glm::vec3 zenithBlue(0.25f, 0.53f, 0.88f);
const glm::vec3 horizonHaze(0.82f, 0.91f, 0.96f);
const glm::vec3 sunCore(1.0f, 0.98f, 0.88f);
const glm::vec3 sunGlow(1.0f, 0.86f, 0.62f);
const glm::vec3 cloudLit(1.0f, 0.99f, 0.96f);
const glm::vec3 cloudShade(0.80f, 0.79f, 0.91f);
const glm::vec3 seaNear(0.09f, 0.36f, 0.56f);
const glm::vec3 seaFar(0.42f, 0.72f, 0.78f);
const glm::vec3 farHills(0.62f, 0.66f, 0.83f);
const glm::vec3 nearHills(0.40f, 0.67f, 0.56f);

// Angular width, in radians, over which silhouettes fade: about a pixel of a
// 512-pixel face, so the hills and the sun stay smooth at that size.
constexpr float edgeWidth = 0.004f;

float edge(float signedDistance) {
    return glm::clamp(0.5f - signedDistance / edgeWidth, 0.0f, 1.0f);
}

// Heights above the horizon (radians of elevation) of the two hill ranges.
// Whole multiples of the azimuth keep the outline continuous all round.
float farHillHeight(float azimuth) {
    return 0.07f + 0.045f * std::sin(2.0f * azimuth + 0.6f) +
           0.02f * std::sin(5.0f * azimuth + 2.1f) + 0.006f * std::sin(13.0f * azimuth + 0.3f);
}

float nearHillHeight(float azimuth) {
    return 0.025f + 0.055f * std::sin(3.0f * azimuth + 4.0f) +
           0.018f * std::sin(7.0f * azimuth + 1.3f) + 0.005f * std::sin(17.0f * azimuth + 2.4f);
}

glm::vec3 skyDome(glm::vec3 d, glm::vec3 sun) {
    const float up = glm::clamp(d.y, 0.0f, 1.0f);
    glm::vec3 colour = glm::mix(horizonHaze, zenithBlue, std::pow(up, 0.5f));
    if (d.y <= 0.0f)
        return colour;

    // Clouds on a flat layer overhead; they thin out towards the horizon.
    const glm::vec2 layer = glm::vec2(d.x, d.z) / (d.y + 0.2f);
    // Few octaves and a narrow threshold make round, puffy clouds.
    const float density = spaceFbm(glm::vec3(layer * 1.8f, 0.25f), 4, 11);
    const float cover = glm::smoothstep(0.14f, 0.22f, density) * glm::smoothstep(0.03f, 0.3f, d.y);
    if (cover > 0.0f) {
        // Brighter where the cloud thins towards the sun: its sunlit side.
        const glm::vec2 towardsSun =
            glm::normalize(glm::vec2(sun.x, sun.z) + glm::vec2(0.0f, 1e-4f));
        const float sunward =
            spaceFbm(glm::vec3((layer + towardsSun * 0.05f) * 1.8f, 0.25f), 4, 11);
        const float lit = glm::smoothstep(-0.06f, 0.06f, density - sunward);
        const glm::vec3 cloud = glm::mix(cloudShade, cloudLit, 0.35f + 0.65f * lit);
        colour = glm::mix(colour, cloud, cover * 0.96f);
    }
    return colour;
}

glm::vec3 sea(glm::vec3 d, glm::vec3 sun) {
    const float depth = -d.y;
    glm::vec3 colour =
        glm::mix(seaFar, seaNear, std::pow(glm::smoothstep(0.0f, 0.7f, depth), 0.6f));
    // Gentle swell, flattened towards the horizon as seen from above.
    const glm::vec2 surface = glm::vec2(d.x, d.z) / (depth + 0.1f);
    const float swell = spaceFbm(glm::vec3(surface * 1.5f, 3.5f), 2, 29);
    const float nearness = glm::smoothstep(0.1f, 0.5f, depth);
    colour *= 1.0f + 0.05f * swell * nearness;
    // The sun's glitter path on the water.
    const glm::vec3 mirrored(d.x, -d.y, d.z);
    const float glitter = std::pow(glm::max(glm::dot(mirrored, sun), 0.0f), 80.0f);
    colour += sunGlow * glitter * (0.55f + 0.45f * swell);
    return colour;
}

} // namespace

glm::vec3 cubeFaceDirection(int face, float s, float t) {
    const float sc = 2.0f * s - 1.0f;
    const float tc = 2.0f * t - 1.0f;
    switch (face) {
    case 0:
        return {1.0f, -tc, -sc};
    case 1:
        return {-1.0f, -tc, sc};
    case 2:
        return {sc, 1.0f, tc};
    case 3:
        return {sc, -1.0f, -tc};
    case 4:
        return {sc, -tc, 1.0f};
    default:
        return {-sc, -tc, -1.0f};
    }
}

glm::vec3 sunDirection() {
    return glm::normalize(glm::vec3(0.0f, 1.0f, 1.0f));
}

glm::vec3 skyColour(glm::vec3 direction) {
    const glm::vec3 d = glm::normalize(direction);
    const glm::vec3 sun = sunDirection();
    const float elevation = std::asin(glm::clamp(d.y, -1.0f, 1.0f));
    const float azimuth = std::atan2(d.z, d.x);

    // Sky above, sea below, blended across a pixel at the horizon.
    const float skyShare = edge(-elevation);
    glm::vec3 colour(0.0f);
    if (skyShare > 0.0f)
        colour += skyShare * skyDome(d, sun);
    if (skyShare < 1.0f)
        colour += (1.0f - skyShare) * sea(d, sun);

    // Two ranges of soft hills on the horizon, the far one paler with haze.
    if (elevation > -0.01f && elevation < 0.2f) {
        const float farTop = farHillHeight(azimuth);
        const float farShare = edge(elevation - farTop) * edge(-elevation);
        const glm::vec3 far = glm::mix(farHills, horizonHaze, 0.35f);
        colour = glm::mix(colour, far, farShare);
        const float nearTop = nearHillHeight(azimuth);
        const float nearShare = edge(elevation - nearTop) * edge(-elevation);
        const float ridge = glm::clamp((nearTop - elevation) / 0.06f, 0.0f, 1.0f);
        const glm::vec3 near = glm::mix(nearHills * 1.12f, nearHills * 0.9f, ridge);
        colour = glm::mix(colour, near, nearShare);
    }

    // Haze thickens right at the horizon.
    colour = glm::mix(colour, horizonHaze, 0.3f * std::exp(-std::abs(elevation) / 0.02f));

    // The sun: a warm halo and a bright disc.
    const float sunAngle = std::acos(glm::clamp(glm::dot(d, sun), -1.0f, 1.0f));
    colour += sunGlow * (0.28f * std::exp(-sunAngle * sunAngle / (2.0f * 0.25f * 0.25f)) +
                         0.45f * std::exp(-sunAngle * sunAngle / (2.0f * 0.06f * 0.06f)));
    colour = glm::mix(colour, sunCore, edge(sunAngle - 0.055f));
    return glm::clamp(colour, 0.0f, 1.0f);
}

ImageCanvas renderSkyFace(int face, int size) {
    ImageCanvas image(size, size);
    image.apply([&](glm::vec2 pixel, glm::vec4) {
        const glm::vec3 direction = cubeFaceDirection(face, pixel.x / size, pixel.y / size);
        return glm::vec4(skyColour(direction), 1.0f);
    });
    return image;
}

} // namespace assetgen
