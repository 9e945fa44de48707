#include "PictureMaterials.h"

#include "ImageNoise.h"
#include "ImageShapes.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <array>
#include <cmath>

namespace assetgen {

namespace {

constexpr float pi = 3.14159265f;

// The river's faces are 3 units along v and 1 unit along u; a round dot on
// the ground is a third as tall in the texture.
constexpr float riverStretch = 3.0f;

// Sprinkles small round dots at lattice-hashed spots of a cell grid, wrapping
// at the edges so the texture still tiles.
void sprinkle(ImageCanvas& image, int cellsAcross, float radius, float chance, glm::vec3 colour,
              std::uint32_t seed, float squash) {
    const int size = image.width();
    const float cell = float(size) / cellsAcross;
    const int cellsDown = int(cellsAcross * squash);
    const float cellDown = float(size) / cellsDown;
    for (int cy = 0; cy < cellsDown; ++cy)
        for (int cx = 0; cx < cellsAcross; ++cx) {
            if (latticeNoise(cx, cy, seed) > chance)
                continue;
            const glm::vec2 centre((cx + 0.2f + 0.6f * latticeNoise(cx, cy, seed + 1)) * cell,
                                   (cy + 0.2f + 0.6f * latticeNoise(cx, cy, seed + 2)) * cellDown);
            const glm::vec2 radii(radius, radius / squash);
            for (int wy = -1; wy <= 1; ++wy)
                for (int wx = -1; wx <= 1; ++wx)
                    fillEllipse(image, centre + glm::vec2(wx, wy) * float(size), radii,
                                glm::vec4(colour, 1.0f));
        }
}

// Bevel of a block face: lit along the top and left, shaded along the others.
glm::vec3 bevelled(glm::vec3 colour, glm::vec2 p, float size, float width) {
    const float lit = glm::min(p.x, p.y);
    const float shaded = size - glm::max(p.x, p.y);
    const float distance = glm::min(lit, shaded);
    if (distance >= width)
        return colour;
    const float strength = 1.0f - distance / width;
    if (lit <= shaded)
        return glm::mix(colour, glm::vec3(1.0f), 0.35f * strength);
    return colour * (1.0f - 0.3f * strength);
}

} // namespace

ImageCanvas paintWater(int size) {
    const glm::vec3 deep(0.2f, 0.48f, 0.74f);
    const glm::vec3 shallow(0.45f, 0.74f, 0.88f);
    ImageCanvas image(size, size);
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float u = p.x / size, v = p.y / size;
        const float body = tileableFbm(u, v, 4, 5, 3);
        glm::vec3 colour = glm::mix(deep, shallow, glm::clamp(0.5f + 0.8f * body, 0.0f, 1.0f));
        // Thin bright ripple lines along the current.
        const float ripple = 1.0f - std::abs(tileableFbm(u, v, 8, 3, 7));
        colour = glm::mix(colour, glm::vec3(0.9f, 0.97f, 1.0f),
                          0.25f * glm::smoothstep(0.86f, 0.97f, ripple));
        return glm::vec4(colour, 1.0f);
    });
    return image;
}

ImageCanvas paintSand(int size) {
    const glm::vec3 sand(0.95f, 0.84f, 0.58f);
    ImageCanvas image(size, size);
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float u = p.x / size, v = p.y / size;
        // Soft wind ripples across the bank, bent by noise, and a fine grain.
        const float bend = 0.6f * tileableFbm(u, v, 2, 3, 13);
        const float ripples = std::sin(2.0f * pi * (8.0f * u + bend));
        const float grain = latticeNoise(int(p.x), int(p.y), 19) - 0.5f;
        const float patches = tileableFbm(u, v, 4, 4, 17);
        const float shade = 1.0f + 0.03f * ripples + 0.05f * patches + 0.05f * grain;
        return glm::vec4(sand * shade, 1.0f);
    });
    sprinkle(image, 12, 0.012f * size, 0.35f, glm::vec3(0.86f, 0.72f, 0.5f), 23, riverStretch);
    sprinkle(image, 10, 0.008f * size, 0.3f, glm::vec3(1.0f, 0.96f, 0.86f), 29, riverStretch);
    return image;
}

ImageCanvas paintGrass(int size) {
    const glm::vec3 light(0.6f, 0.82f, 0.46f);
    const glm::vec3 dark(0.4f, 0.66f, 0.38f);
    ImageCanvas image(size, size);
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float u = p.x / size, v = p.y / size;
        const float clumps = tileableFbm(u, v, 4, 5, 31);
        glm::vec3 colour = glm::mix(dark, light, glm::clamp(0.5f + clumps, 0.0f, 1.0f));
        const float blade = latticeNoise(int(p.x), int(p.y / 2.0f), 37) - 0.5f;
        colour *= 1.0f + 0.08f * blade;
        return glm::vec4(colour, 1.0f);
    });
    // A scatter of tiny flowers in the palette's cream, coral and lilac.
    sprinkle(image, 9, 0.014f * size, 0.2f, glm::vec3(0.96f, 0.89f, 0.76f), 41, riverStretch);
    sprinkle(image, 8, 0.012f * size, 0.15f, glm::vec3(0.84f, 0.33f, 0.33f), 43, riverStretch);
    sprinkle(image, 8, 0.012f * size, 0.15f, glm::vec3(0.7f, 0.57f, 0.71f), 47, riverStretch);
    return image;
}

ImageCanvas paintBlock(int size, glm::vec3 colour) {
    ImageCanvas image(size, size);
    const float rim = 0.09f * size;
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float grain = tileableFbm(p.x / size, p.y / size, 4, 4, 53);
        const glm::vec3 base = colour * (1.0f + 0.04f * grain);
        return glm::vec4(bevelled(base, p, float(size), rim), 1.0f);
    });
    return image;
}

ImageCanvas paintPit(int size) {
    const glm::vec3 coral(0.84f, 0.33f, 0.33f);
    const glm::vec3 hollow(0.55f, 0.18f, 0.22f);
    ImageCanvas image(size, size);
    const float half = size * 0.5f;
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float r = glm::length(p - half) / half;
        glm::vec3 colour = glm::mix(hollow, coral, glm::smoothstep(0.2f, 0.85f, r));
        colour = bevelled(colour, p, float(size), 0.08f * size);
        return glm::vec4(colour, 1.0f);
    });
    return image;
}

ImageCanvas paintMarble(int width, int height) {
    const glm::vec3 glass(0.1f, 0.33f, 0.6f);
    const glm::vec3 glassLight(0.22f, 0.52f, 0.78f);
    const std::array<glm::vec3, 3> vanes = {glm::vec3(0.9f, 0.42f, 0.4f),
                                            glm::vec3(0.97f, 0.92f, 0.82f),
                                            glm::vec3(0.2f, 0.75f, 0.72f)};
    ImageCanvas image(width, height);
    image.apply([&](glm::vec2 p, glm::vec4) {
        // The point of the sphere this texel lands on, so the pattern has no
        // seam where u wraps and no pinch at the poles.
        const float theta = 2.0f * pi * p.x / width;
        const float phi = pi * p.y / height;
        const glm::vec3 point(std::sin(phi) * std::cos(theta), std::cos(phi),
                              std::sin(phi) * std::sin(theta));
        glm::vec3 colour = glm::mix(glass, glassLight,
                                    glm::clamp(0.5f + spaceFbm(point * 1.5f, 2, 61), 0.0f, 1.0f));
        // A cat's-eye swirl: three vanes through the middle, twisted along y.
        const float twist = 1.4f * point.y;
        for (std::size_t k = 0; k < vanes.size(); ++k) {
            const float angle = float(k) * pi / 3.0f + twist;
            const float across = std::abs(std::cos(angle) * point.z - std::sin(angle) * point.x);
            const float width = 0.11f * (1.0f - 0.5f * std::abs(point.y));
            colour = glm::mix(colour, vanes[k], glm::smoothstep(width, width * 0.6f, across));
        }
        return glm::vec4(colour, 1.0f);
    });
    return image;
}

} // namespace assetgen
