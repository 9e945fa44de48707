#include "PictureFlowBoard.h"

#include "ImageNoise.h"
#include "ImageShapes.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

#include <cmath>
#include <utility>
#include <vector>

namespace assetgen {

namespace {

// A dark well makes every palette colour stand out, the pale cream included.
const glm::vec3 frameTop(0.78f, 0.68f, 0.80f);
const glm::vec3 frameBottom(0.62f, 0.50f, 0.66f);
const glm::vec3 wellColour(0.09f, 0.10f, 0.14f);
const glm::vec3 cellColour(0.15f, 0.16f, 0.21f);
const glm::vec3 ringColour(0.97f, 0.96f, 0.93f);

const glm::vec3 markColour(1.0f);
const glm::vec3 markOutline(0.07f, 0.08f, 0.12f);

glm::vec3 paletteColour(int value) {
    const auto& c = flowPalette[value];
    return {c[0], c[1], c[2]};
}

void paintDot(ImageCanvas& image, glm::vec2 centre, float cell, glm::vec3 colour) {
    fillCircle(image, centre + glm::vec2(0.03f, 0.05f) * cell, 0.38f * cell,
               glm::vec4(0.0f, 0.0f, 0.0f, 0.45f), 0.08f * cell);
    fillCircle(image, centre, 0.38f * cell, glm::vec4(ringColour, 1.0f));
    fillCircle(image, centre, 0.32f * cell, glm::vec4(colour, 1.0f));
    fillEllipse(image, centre + glm::vec2(-0.13f, -0.15f) * cell, glm::vec2(0.09f, 0.055f) * cell,
                glm::vec4(1.0f, 1.0f, 1.0f, 0.5f), 0.03f * cell);
}

// Corners of a star with the given number of points, the first pointing up,
// alternating between radius 1 and inner.
std::vector<glm::vec2> starCorners(int points, float inner) {
    std::vector<glm::vec2> corners;
    for (int k = 0; k < 2 * points; ++k) {
        const float angle = glm::pi<float>() * (float(k) / float(points) - 0.5f);
        corners.push_back((k % 2 ? inner : 1.0f) * glm::vec2(std::cos(angle), std::sin(angle)));
    }
    return corners;
}

// Signed distance to colour value's mark, which fills about the unit circle;
// y points down as in the picture. Each colour has its own shape, so the ends
// pair up without telling the colours apart.
float markDistance(int value, glm::vec2 q) {
    static const std::vector<glm::vec2> triangle = {{0.0f, -0.95f}, {0.95f, 0.7f}, {-0.95f, 0.7f}};
    static const std::vector<glm::vec2> star = starCorners(5, 0.45f);
    switch (value) {
    case 1: // red: a circle
        return glm::length(q) - 0.78f;
    case 2: // lilac: a triangle
        return polygonDistance(q, triangle) - 0.1f;
    case 3: // teal: a square
        return roundedBoxDistance(q, glm::vec2(0.0f), glm::vec2(0.7f), 0.2f);
    case 4: // blue: a star
        return polygonDistance(q, star) - 0.06f;
    default: // cream: a cross
        return glm::min(roundedBoxDistance(q, glm::vec2(0.0f), glm::vec2(0.85f, 0.3f), 0.1f),
                        roundedBoxDistance(q, glm::vec2(0.0f), glm::vec2(0.3f, 0.85f), 0.1f));
    }
}

// A white mark with a dark outline, to read over the colour's dot and over
// the particles drifting out of it.
void paintMark(ImageCanvas& image, glm::vec2 centre, float cell, int value) {
    const float radius = 0.22f * cell;
    const float outline = 0.05f * cell;
    const glm::vec2 reach(radius + outline + 1.0f);
    image.paint(
        [&](glm::vec2 p) {
            const float distance = markDistance(value, (p - centre) / radius) * radius;
            return glm::vec4(glm::mix(markOutline, markColour, coverage(distance)),
                             coverage(distance - outline));
        },
        centre - reach, centre + reach);
}

} // namespace

ImageCanvas paintFlowBoard(int size, bool finished) {
    // Painted upright as the viewer sees it: cell (i, j) centred at
    // ((j + 1) / 6, (i + 1) / 6) of the picture, inside a frame of 1/12.
    const float cell = size / 6.0f;
    auto centreOf = [&](int row, int column) {
        return glm::vec2((column + 1) * cell, (row + 1) * cell);
    };

    ImageCanvas image(size, size);
    image.apply([&](glm::vec2 p, glm::vec4) {
        const float grain = 0.025f * tileableFbm(p.x / size, p.y / size, 8, 3, 41);
        glm::vec3 colour = glm::mix(frameTop, frameBottom, p.y / size) * (1.0f + grain);
        // A raised rim: lit along the outer top and left edges, shaded at the others.
        const float rim = 0.04f * cell;
        if (p.x < rim || p.y < rim)
            colour = glm::mix(colour, glm::vec3(1.0f), 0.3f);
        else if (p.x > size - rim || p.y > size - rim)
            colour *= 0.8f;
        return glm::vec4(colour, 1.0f);
    });

    const glm::vec2 middle(size * 0.5f);
    fillRoundedBox(image, middle + glm::vec2(0.0f, 0.02f * cell), glm::vec2(2.56f * cell),
                   0.3f * cell, glm::vec4(1.0f, 1.0f, 1.0f, 0.35f), 0.05f * cell);
    fillRoundedBox(image, middle, glm::vec2(2.54f * cell), 0.28f * cell,
                   glm::vec4(wellColour, 1.0f));

    for (int i = 0; i < flowBoardCells; ++i)
        for (int j = 0; j < flowBoardCells; ++j) {
            glm::vec3 colour = cellColour;
            if (finished)
                colour = glm::mix(cellColour, paletteColour(flowSolution[i][j]), 0.22f);
            fillRoundedBox(image, centreOf(i, j), glm::vec2(0.45f * cell), 0.12f * cell,
                           glm::vec4(colour, 1.0f));
        }

    if (finished) {
        // Each colour's path: a thick rounded stroke with a soft halo through
        // the centres of all its cells, joining neighbours of the same colour.
        for (int value = 1; value < int(flowPalette.size()); ++value) {
            std::vector<std::pair<glm::vec2, glm::vec2>> strokes;
            for (int i = 0; i < flowBoardCells; ++i)
                for (int j = 0; j < flowBoardCells; ++j) {
                    if (flowSolution[i][j] != value)
                        continue;
                    const glm::vec2 here = centreOf(i, j);
                    strokes.emplace_back(here, here);
                    if (j + 1 < flowBoardCells && flowSolution[i][j + 1] == value)
                        strokes.emplace_back(here, centreOf(i, j + 1));
                    if (i + 1 < flowBoardCells && flowSolution[i + 1][j] == value)
                        strokes.emplace_back(here, centreOf(i + 1, j));
                }
            const glm::vec3 colour = paletteColour(value);
            image.paint([&](glm::vec2 p) {
                float distance = float(size);
                for (const auto& [a, b] : strokes)
                    distance = glm::min(distance, segmentDistance(p, a, b));
                const float stroke = coverage(distance - 0.18f * cell);
                const float halo = 0.35f * softCoverage(distance - 0.25f * cell, 0.06f * cell);
                return glm::vec4(colour, stroke + halo * (1.0f - stroke));
            });
        }
    }

    for (int i = 0; i < flowBoardCells; ++i)
        for (int j = 0; j < flowBoardCells; ++j)
            if (flowStartCells[i][j] != 0)
                paintDot(image, centreOf(i, j), cell, paletteColour(flowStartCells[i][j]));

    return image.rotated180();
}

ImageCanvas paintFlowMarks(int size) {
    const float cell = size / 6.0f;
    ImageCanvas image(size, size, glm::vec4(0.0f));
    for (int i = 0; i < flowBoardCells; ++i)
        for (int j = 0; j < flowBoardCells; ++j)
            if (flowStartCells[i][j] != 0)
                paintMark(image, glm::vec2(j + 1, i + 1) * cell, cell, flowStartCells[i][j]);
    return image.rotated180();
}

} // namespace assetgen
