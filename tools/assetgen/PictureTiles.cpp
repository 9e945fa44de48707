#include "PictureTiles.h"

#include "ImageNoise.h"
#include "ImageShapes.h"

#include "puzzles/TileGrid.h"

#include <glm/common.hpp>
#include <glm/exponential.hpp>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <array>
#include <cmath>

namespace assetgen {

namespace {

const glm::vec3 skyTop(0.79f, 0.73f, 0.90f);
const glm::vec3 skyBottom(0.99f, 0.91f, 0.78f);
const glm::vec3 coral(0.84f, 0.33f, 0.33f);
const glm::vec3 teal(0.16f, 0.63f, 0.63f);
const glm::vec3 deepBlue(0.08f, 0.32f, 0.53f);
const glm::vec3 cream(0.96f, 0.89f, 0.76f);
const glm::vec3 ink(0.12f, 0.13f, 0.24f);
const glm::vec3 landLow(0.55f, 0.78f, 0.47f);
const glm::vec3 landHigh(0.38f, 0.64f, 0.42f);

constexpr float pi = 3.14159265f;

// Picture units: the width of the picture is 1.
const glm::vec2 globeCentre(0.5f, 0.53f);
constexpr float globeRadius = 0.3f;

glm::vec3 rotateAboutZ(glm::vec3 v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

glm::vec3 rotateAboutY(glm::vec3 v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
}

// Surface colour of the globe at unit normal n (x right, y up, z to the viewer).
glm::vec3 globeSurface(glm::vec3 n) {
    const glm::vec3 m = rotateAboutY(rotateAboutZ(n, -0.38f), 0.9f);
    // Few octaves keep the continents to simple, toy-like shapes.
    const float height = spaceFbm(m * 1.25f + glm::vec3(3.1f, 0.7f, 5.3f), 3, 17) + 0.04f;
    glm::vec3 colour;
    if (height < 0.05f)
        colour = glm::mix(teal, deepBlue, glm::smoothstep(-0.08f, -0.14f, height));
    else if (height < 0.085f)
        colour = cream;
    else
        colour = glm::mix(landLow, landHigh, glm::smoothstep(0.28f, 0.32f, height));
    const float polar = std::abs(m.y) + 0.04f * spaceFbm(m * 3.0f, 2, 23);
    if (polar > 0.88f)
        colour = glm::vec3(0.98f, 0.97f, 0.95f);

    const glm::vec3 light = glm::normalize(glm::vec3(-0.45f, 0.55f, 0.7f));
    const float diffuse = glm::max(glm::dot(n, light), 0.0f);
    colour *= 0.62f + 0.48f * diffuse;
    const glm::vec3 halfway = glm::normalize(light + glm::vec3(0.0f, 0.0f, 1.0f));
    colour += glm::vec3(0.3f) * std::pow(glm::max(glm::dot(n, halfway), 0.0f), 30.0f);
    // A cool rim keeps the round shape readable against the pale background.
    colour = glm::mix(colour, glm::vec3(0.55f, 0.6f, 0.9f), 0.35f * std::pow(1.0f - n.z, 3.0f));
    return colour;
}

// A four-pointed sparkle: two thin crossed diamonds.
void paintSparkle(ImageCanvas& image, glm::vec2 centre, float radius, glm::vec3 colour) {
    const float thin = 0.22f;
    image.paint(
        [&](glm::vec2 p) {
            const glm::vec2 d = glm::abs(p - centre) / radius;
            const float across = glm::min(d.x + d.y / thin, d.x / thin + d.y);
            const float distance = (across - 1.0f) * radius * thin;
            return glm::vec4(colour, coverage(distance));
        },
        centre - radius, centre + radius);
    fillCircle(image, centre, radius * 0.12f, glm::vec4(1.0f, 1.0f, 1.0f, 0.9f));
}

void paintCloud(ImageCanvas& image, glm::vec2 base, float size) {
    const std::array<glm::vec3, 5> puffs = {{{-0.9f, -0.35f, 0.45f},
                                             {-0.35f, -0.7f, 0.6f},
                                             {0.3f, -0.6f, 0.55f},
                                             {0.85f, -0.3f, 0.4f},
                                             {0.0f, -0.25f, 0.5f}}};
    for (int layer = 0; layer < 2; ++layer) {
        const glm::vec3 colour = layer == 0 ? glm::vec3(0.78f, 0.76f, 0.9f) : glm::vec3(1.0f);
        const glm::vec2 shift = layer == 0 ? glm::vec2(0.0f, 0.08f) * size : glm::vec2(0.0f);
        for (const glm::vec3& puff : puffs)
            fillCircle(image, base + glm::vec2(puff) * size + shift, puff.z * size,
                       glm::vec4(colour, 1.0f));
        fillRoundedBox(image, base + glm::vec2(0.0f, -0.15f) * size + shift,
                       glm::vec2(1.3f, 0.2f) * size, 0.2f * size, glm::vec4(colour, 1.0f));
    }
}

// A heart of two round lobes on a diamond, as a signed distance so its edge is smooth.
void paintHeart(ImageCanvas& image, glm::vec2 centre, float size, glm::vec3 colour) {
    image.paint(
        [&](glm::vec2 p) {
            const glm::vec2 q = (p - centre) / size;
            const float lobes = glm::min(circleDistance(q, glm::vec2(-0.3f, -0.2f), 0.36f),
                                         circleDistance(q, glm::vec2(0.3f, -0.2f), 0.36f));
            const float diamond = (std::abs(q.x) + std::abs(q.y - 0.05f) - 0.58f) * 0.7071f;
            return glm::vec4(colour, coverage(glm::min(lobes, diamond) * size));
        },
        centre - size, centre + size);
}

// The orbit ring around the globe: an ellipse turned by a small angle.
const glm::vec2 orbitCentre(0.5f, 0.6f);
const glm::vec2 orbitRadii(0.45f, 0.1f);
constexpr float orbitTilt = -0.2f;

glm::vec2 orbitPoint(float angle) {
    const glm::vec2 local(orbitRadii.x * std::cos(angle), orbitRadii.y * std::sin(angle));
    return orbitCentre + glm::vec2(std::cos(orbitTilt) * local.x - std::sin(orbitTilt) * local.y,
                                   std::sin(orbitTilt) * local.x + std::cos(orbitTilt) * local.y);
}

// front selects the lower, nearer half, which passes in front of the globe.
void paintOrbit(ImageCanvas& image, float size, bool front) {
    const int steps = 180;
    for (int i = 0; i < steps; ++i) {
        const float a = 2.0f * pi * i / steps;
        const float b = 2.0f * pi * (i + 1) / steps;
        if ((std::sin(a + pi / steps) > 0.0f) != front)
            continue;
        fillCapsule(image, orbitPoint(a) * size, orbitPoint(b) * size, 0.0045f * size,
                    glm::vec4(1.0f, 0.99f, 0.95f, 1.0f));
    }
}

void paintFace(ImageCanvas& image, float size) {
    const glm::vec2 centre = globeCentre * size;
    for (float side : {-1.0f, 1.0f}) {
        const glm::vec2 eye = centre + glm::vec2(side * 0.095f, -0.02f) * size;
        fillEllipse(image, eye, glm::vec2(0.027f, 0.04f) * size, glm::vec4(ink, 1.0f));
        fillCircle(image, eye + glm::vec2(-0.008f, -0.015f) * size, 0.0095f * size,
                   glm::vec4(1.0f));
        fillEllipse(image, centre + glm::vec2(side * 0.16f, 0.06f) * size,
                    glm::vec2(0.045f, 0.028f) * size, glm::vec4(coral, 0.6f), 0.012f * size);
    }
    // The smile: a thick arc under the eyes.
    const glm::vec2 smileCentre = centre + glm::vec2(0.0f, 0.015f) * size;
    const float smileRadius = 0.085f * size;
    const float from = 0.35f, to = pi - 0.35f;
    const glm::vec2 a = smileCentre + smileRadius * glm::vec2(std::cos(from), std::sin(from));
    const glm::vec2 b = smileCentre + smileRadius * glm::vec2(std::cos(to), std::sin(to));
    image.paint(
        [&](glm::vec2 p) {
            const glm::vec2 d = p - smileCentre;
            const float angle = std::atan2(d.y, d.x);
            float distance;
            if (angle > from && angle < to)
                distance = std::abs(glm::length(d) - smileRadius);
            else
                distance = glm::min(glm::length(p - a), glm::length(p - b));
            return glm::vec4(ink, coverage(distance - 0.011f * size));
        },
        smileCentre - smileRadius * 1.2f, smileCentre + smileRadius * 1.2f);
}

} // namespace

ImageCanvas paintSavedWorld(int size) {
    const float s = float(size);
    const glm::vec2 centre = globeCentre * s;
    ImageCanvas image(size, size);

    // Background: a lilac-to-cream sky with faint rays from the globe.
    image.apply([&](glm::vec2 p, glm::vec4) {
        glm::vec3 colour = glm::mix(skyTop, skyBottom, glm::smoothstep(0.0f, 1.0f, p.y / s));
        const glm::vec2 d = (p - centre) / s;
        const float radius = glm::length(d);
        const float angle = std::atan2(d.y, d.x);
        const float ray = glm::smoothstep(-0.5f, 0.5f, std::cos(12.0f * angle + 0.4f));
        colour = glm::mix(colour, glm::vec3(1.0f, 0.98f, 0.93f),
                          0.16f * ray * glm::smoothstep(0.85f, 0.3f, radius));
        colour = glm::mix(colour, glm::vec3(1.0f, 0.97f, 0.9f),
                          0.55f * std::exp(-std::pow((radius - globeRadius) / 0.12f, 2.0f)) *
                              glm::step(globeRadius, radius));
        return glm::vec4(colour, 1.0f);
    });

    const std::array<glm::vec4, 11> sparkles = {{{0.1f, 0.1f, 0.045f, 0.0f},
                                                 {0.24f, 0.2f, 0.025f, 1.0f},
                                                 {0.87f, 0.14f, 0.05f, 2.0f},
                                                 {0.72f, 0.07f, 0.022f, 0.0f},
                                                 {0.95f, 0.27f, 0.03f, 3.0f},
                                                 {0.06f, 0.5f, 0.032f, 2.0f},
                                                 {0.06f, 0.74f, 0.035f, 3.0f},
                                                 {0.31f, 0.95f, 0.022f, 0.0f},
                                                 {0.92f, 0.95f, 0.03f, 1.0f},
                                                 {0.7f, 0.94f, 0.025f, 2.0f},
                                                 {0.5f, 0.1f, 0.02f, 0.0f}}};
    const std::array<glm::vec3, 4> sparkleColours = {glm::vec3(1.0f), coral, teal, deepBlue};
    for (const glm::vec4& sparkle : sparkles)
        paintSparkle(image, glm::vec2(sparkle) * s, sparkle.z * s, sparkleColours[int(sparkle.w)]);

    paintOrbit(image, s, false);

    // The globe with its outline.
    const float radius = globeRadius * s;
    fillCircle(image, centre + glm::vec2(0.0f, 0.012f * s), radius + 0.012f * s,
               glm::vec4(0.2f, 0.15f, 0.35f, 0.25f), 0.02f * s);
    fillCircle(image, centre, radius + 0.009f * s, glm::vec4(ink, 1.0f));
    image.paint(
        [&](glm::vec2 p) {
            const glm::vec2 q = (p - centre) / radius;
            const float r2 = glm::dot(q, q);
            const glm::vec3 n(q.x, -q.y, std::sqrt(glm::max(1.0f - r2, 0.0f)));
            return glm::vec4(globeSurface(glm::normalize(n)),
                             coverage(circleDistance(p, centre, radius)));
        },
        centre - radius - 1.0f, centre + radius + 1.0f);
    paintFace(image, s);

    paintOrbit(image, s, true);
    // A little moon riding the far side of the orbit and a heart on its near side.
    const glm::vec2 moon = orbitPoint(-0.42f) * s;
    fillCircle(image, moon, 0.052f * s, glm::vec4(ink, 1.0f));
    fillCircle(image, moon, 0.045f * s, glm::vec4(cream, 1.0f));
    fillCircle(image, moon + glm::vec2(0.012f, 0.01f) * s, 0.012f * s,
               glm::vec4(0.85f, 0.76f, 0.62f, 1.0f));
    fillCircle(image, moon + glm::vec2(-0.016f, -0.014f) * s, 0.008f * s,
               glm::vec4(0.85f, 0.76f, 0.62f, 1.0f));
    paintHeart(image, orbitPoint(2.55f) * s, 0.07f * s, coral);

    paintCloud(image, glm::vec2(0.17f, 0.9f) * s, 0.065f * s);
    paintCloud(image, glm::vec2(0.86f, 0.82f) * s, 0.055f * s);
    return image;
}

std::vector<ImageCanvas> cutTiles(const ImageCanvas& picture, float bevelFraction) {
    using zarn::tileGridSide;
    const int tileSize = picture.width() / tileGridSide;
    const float bevel = bevelFraction * tileSize;
    std::vector<ImageCanvas> tiles;
    for (int slot = 0; slot < zarn::tileCount; ++slot) {
        ImageCanvas tile = picture.crop((slot % tileGridSide) * tileSize,
                                        (slot / tileGridSide) * tileSize, tileSize, tileSize);
        tile.apply([&](glm::vec2 p, glm::vec4 colour) {
            // Lit along the top and left, shaded along the bottom and right;
            // the nearest edge decides, which mitres the corners.
            const float lit = glm::min(p.x, p.y);
            const float shaded = tileSize - glm::max(p.x, p.y);
            const float distance = glm::min(lit, shaded);
            if (distance >= bevel)
                return colour;
            const float strength = 1.0f - distance / bevel;
            glm::vec3 rgb(colour);
            if (lit <= shaded)
                rgb = glm::mix(rgb, glm::vec3(1.0f), 0.35f * strength);
            else
                rgb = glm::mix(rgb, glm::vec3(0.1f, 0.08f, 0.18f), 0.3f * strength);
            if (distance < 1.0f)
                rgb *= 0.7f;
            return glm::vec4(rgb, colour.a);
        });
        tiles.push_back(std::move(tile));
    }
    return tiles;
}

} // namespace assetgen
