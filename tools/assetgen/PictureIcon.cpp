#include "PictureIcon.h"

#include "ImageShapes.h"
#include "PictureFlowBoard.h"
#include "PictureTiles.h"
#include "StaticModels.h"

#include "puzzles/BallMaze.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace assetgen {

namespace {

namespace BallMaze = zarn::BallMaze;

const glm::vec3 ink(0.12f, 0.13f, 0.24f);
const glm::vec3 mazeFloor(0.98f, 0.86f, 0.55f);
const glm::vec3 raisedFloor(1.0f, 0.94f, 0.75f);
const glm::vec3 ramp(0.56f, 0.76f, 0.92f);
const glm::vec3 marble(0.16f, 0.42f, 0.72f);
const glm::vec3 emptySlot(0.05f, 0.16f, 0.3f);
const glm::vec3 tileGap(0.42f, 0.34f, 0.5f);
const glm::vec3 flowFrame(0.74f, 0.63f, 0.77f);
const glm::vec3 flowWell(0.09f, 0.1f, 0.14f);

constexpr int detailedFrom = 64;
// The empty slot of the sliding picture, bottom left as at the game's start.
constexpr int emptyTile = 6;

// A face laid on the cube: picture point (u, v), both in 0..1, lands at
// origin + u * across + v * along.
struct Face {
    glm::vec2 origin, across, along;
    float light;

    // The picture point under icon point p, outside 0..1 when p is off the face.
    glm::vec2 pictureAt(glm::vec2 p) const {
        const glm::vec2 d = p - origin;
        const float area = across.x * along.y - across.y * along.x;
        return glm::vec2(d.x * along.y - d.y * along.x, across.x * d.y - across.y * d.x) / area;
    }
};

// Bilinear, with the border texels repeated.
glm::vec4 sample(const ImageCanvas& image, glm::vec2 uv) {
    const glm::vec2 p = uv * glm::vec2(image.width(), image.height()) - 0.5f;
    const glm::vec2 base = glm::floor(p);
    const glm::vec2 f = p - base;
    auto texel = [&](int dx, int dy) {
        return image.at(std::clamp(int(base.x) + dx, 0, image.width() - 1),
                        std::clamp(int(base.y) + dy, 0, image.height() - 1));
    };
    return glm::mix(glm::mix(texel(0, 0), texel(1, 0), f.x),
                    glm::mix(texel(0, 1), texel(1, 1), f.x), f.y);
}

void place(ImageCanvas& canvas, const ImageCanvas& part, int x, int y) {
    for (int row = 0; row < part.height(); ++row)
        for (int column = 0; column < part.width(); ++column)
            canvas.at(x + column, y + row) = part.at(column, row);
}

// The front face: the saved world in bevelled tiles; smaller, parted by plain
// lines, and at the smallest sizes by nothing but the empty slot.
ImageCanvas paintTileFace(int size, int iconSize) {
    const bool detailed = iconSize >= detailedFrom;
    const int tile = size / 3;
    const ImageCanvas picture = paintSavedWorld(size);
    ImageCanvas face = picture;
    if (detailed) {
        const std::vector<ImageCanvas> tiles = cutTiles(picture, 0.035f);
        for (int slot = 0; slot < int(tiles.size()); ++slot)
            place(face, tiles[slot], (slot % 3) * tile, (slot / 3) * tile);
    } else if (iconSize >= 32) {
        for (int line = 1; line < 3; ++line) {
            fillRoundedBox(face, glm::vec2(line * tile, size * 0.5f),
                           glm::vec2(0.02f * size, size * 0.5f), 0.0f, glm::vec4(tileGap, 1.0f));
            fillRoundedBox(face, glm::vec2(size * 0.5f, line * tile),
                           glm::vec2(size * 0.5f, 0.02f * size), 0.0f, glm::vec4(tileGap, 1.0f));
        }
    }
    place(face, ImageCanvas(tile, tile, glm::vec4(emptySlot, 1.0f)), (emptyTile % 3) * tile,
          (emptyTile / 3) * tile);
    return face;
}

// The right face: the solved flow board upright, or four big end dots.
ImageCanvas paintFlowFace(int size, int iconSize) {
    if (iconSize >= detailedFrom)
        return paintFlowBoard(size, true).rotated180();
    const float s = float(size);
    ImageCanvas face(size, size, glm::vec4(flowFrame, 1.0f));
    fillRoundedBox(face, glm::vec2(0.5f * s), glm::vec2(0.43f * s), 0.08f * s,
                   glm::vec4(flowWell, 1.0f));
    const glm::vec3 dots[4] = {coralRed, teal, cream, lilac};
    for (int k = 0; k < 4; ++k)
        fillCircle(face, glm::vec2(0.29f + 0.42f * (k % 2), 0.29f + 0.42f * (k / 2)) * s, 0.18f * s,
                   glm::vec4(dots[k], 1.0f));
    return face;
}

// The top face seen from above, column j to the right and row i down: the
// game's own maze, or a bold one of four cells a side.
ImageCanvas paintMazeFace(int size, int iconSize) {
    const bool detailed = iconSize >= detailedFrom;
    const float s = float(size);
    ImageCanvas face(size, size, glm::vec4(mazeFloor, 1.0f));
    const int side = detailed ? BallMaze::side : 4;
    const float cell = s / side;
    auto centre = [&](int row, int column) {
        return glm::vec2((column + 0.5f) * cell, (row + 0.5f) * cell);
    };
    auto isWall = [&](int row, int column) {
        if (detailed)
            return BallMaze::map[row][column] == BallMaze::Wall;
        return row == 1 && column < 3;
    };
    if (detailed)
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) {
                const int kind = BallMaze::map[i][j];
                if (kind == BallMaze::Raised || kind >= BallMaze::RampUpToMinusZ)
                    fillRoundedBox(face, centre(i, j), glm::vec2(0.5f * cell), 0.0f,
                                   glm::vec4(kind == BallMaze::Raised ? raisedFloor : ramp, 1.0f));
                else if (kind == BallMaze::Pit)
                    fillCircle(face, centre(i, j), 0.38f * cell, glm::vec4(coralRed, 1.0f));
            }
    // Walls cast a short shadow towards the viewer, so they stand up from the floor.
    for (const auto& [shift, colour] :
         {std::pair(0.18f * cell, glm::vec4(ink, 0.35f)), std::pair(0.0f, glm::vec4(lilac, 1.0f))})
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                if (isWall(i, j))
                    fillRoundedBox(face, centre(i, j) + shift, glm::vec2(0.5f * cell), 0.0f,
                                   colour);
    // The ball on its start and the goal pit in the far corner.
    const glm::vec2 start = detailed ? centre(1, 1) : centre(0, 0);
    const glm::vec2 goal = detailed ? centre(10, 10) : centre(3, 3);
    fillCircle(face, goal, 0.38f * cell, glm::vec4(coralRed, 1.0f));
    fillCircle(face, goal, 0.2f * cell, glm::vec4(1.0f));
    fillCircle(face, start, 0.42f * cell, glm::vec4(marble, 1.0f));
    fillCircle(face, start - glm::vec2(0.13f * cell), 0.12f * cell,
               glm::vec4(1.0f, 1.0f, 1.0f, 0.8f));
    return face;
}

} // namespace

ImageCanvas paintIcon(int size) {
    // The cube in pixels, seen from above its front corner at two across to
    // one down, which shows the top about as large as each side. Its upright edges
    // fall on pixel centres, where a pixel-wide outline stays sharp.
    const float halfWidth = std::round(0.42f * size);
    const float topDrop = 0.5f * halfWidth;
    const glm::vec2 down(0.0f, std::round(0.5f * size));
    const glm::vec2 back(0.5f * size - 0.5f,
                         std::floor(0.5f * (size - 2.0f * topDrop - down.y)) + 0.5f);
    const glm::vec2 left = back + glm::vec2(-halfWidth, topDrop);
    const glm::vec2 right = back + glm::vec2(halfWidth, topDrop);
    const glm::vec2 front = back + glm::vec2(0.0f, 2.0f * topDrop);

    // About two picture texels to a sample, in multiples of the maze's cells.
    const int pictureSize = BallMaze::side * std::max(4, size / 6);
    const ImageCanvas tiles = paintTileFace(pictureSize, size);
    const ImageCanvas flow = paintFlowFace(pictureSize, size);
    const ImageCanvas maze = paintMazeFace(pictureSize, size);
    const Face faces[3] = {{left, front - left, down, 0.9f},
                           {front, right - front, down, 0.78f},
                           {back, right - back, left - back, 1.0f}};
    const ImageCanvas* pictures[3] = {&tiles, &flow, &maze};

    // Painted at four times the size and halved twice: sixteen samples to a
    // pixel. The clear ground is ink, so that the halving blends the
    // outline's edge into nothing rather than into black.
    constexpr float scale = 4.0f;
    ImageCanvas image(4 * size, 4 * size, glm::vec4(ink, 0.0f));
    image.apply([&](glm::vec2 p, glm::vec4 colour) {
        for (int f = 0; f < 3; ++f) {
            const glm::vec2 uv = faces[f].pictureAt(p / scale);
            if (glm::all(glm::greaterThanEqual(uv, glm::vec2(0.0f))) &&
                glm::all(glm::lessThanEqual(uv, glm::vec2(1.0f))))
                return glm::vec4(glm::vec3(sample(*pictures[f], uv)) * faces[f].light, 1.0f);
        }
        return colour;
    });

    // An ink outline round every edge, most of a pixel wide at the smallest size.
    const float outline = std::max(0.4f, 0.012f * size);
    const glm::vec2 edges[9][2] = {{back, left},
                                   {back, right},
                                   {left, front},
                                   {right, front},
                                   {left, left + down},
                                   {front, front + down},
                                   {right, right + down},
                                   {left + down, front + down},
                                   {right + down, front + down}};
    for (const auto& edge : edges)
        fillCapsule(image, edge[0] * scale, edge[1] * scale, outline * scale, glm::vec4(ink, 1.0f));
    return image.halved().halved();
}

} // namespace assetgen
