#include "puzzles/MovingTiles.h"

#include "app/Camera.h"
#include "physics/PhysicsWorld.h"
#include "physics/PickRay.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace zarn;

namespace {

constexpr int windowSize = 800;
constexpr int emptySlot = -1; // the cube's face shows: the blank is sunk
constexpr int unknown = -2;   // neither a tile nor the bare face
// Largest mean difference (0..255) from a reference look that still counts
// as that look; two different tiles differ by more than 3.5.
constexpr float maxDistance = 2.5f;

using Board = std::array<int, tileCount>; // what each slot shows, by slot index
using Samples = std::vector<float>;

glm::vec3 slotCentre(int slot) {
    return {float(slot % 3) - 1.0f, 1.0f - float(slot / 3), 1.625f};
}

// What the board should show: each slot's tile, or the bare face where the
// blank is while it is sunk.
Board expectedView(const TileArrangement& arrangement, bool blankRaised) {
    Board board{};
    for (int slot = 0; slot < tileCount; ++slot) {
        const int tile = arrangement[slot / 3][slot % 3];
        board[slot] = tile == blankTile && !blankRaised ? emptySlot : tile;
    }
    return board;
}

// The front face of the cube seen from the default camera, lit by ambient
// light alone (no light is set), so a tile looks the same in every slot.
class MovingTilesGLTest : public testing::Test {
protected:
    MovingTilesGLTest() {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glClearColor(0, 0, 0, 1);
        camera.update(0, 0);
        glUseProgram(shader->programId);
        shader->setUniform("viewProjMatrix", camera.viewProjection());
        shader->setUniform("viewPosition", camera.position);
        takeReferences();
    }

    // Screen pixel (x right, y up) of a world point.
    glm::ivec2 pixelOf(const glm::vec3& world) const {
        const glm::vec4 clip = camera.viewProjection() * glm::vec4(world, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return glm::ivec2(glm::floor((ndc * 0.5f + 0.5f) * float(windowSize)));
    }

    // Colours on a 7 x 7 grid over the front of the tile in a slot, each the
    // mean of a 3 x 3 pixel block.
    Samples samplesOf(const std::vector<std::uint8_t>& pixels, int slot) const {
        Samples samples;
        for (int i = 1; i < 8; ++i)
            for (int j = 1; j < 8; ++j) {
                const glm::vec3 offset(j / 8.0f - 0.5f, 0.5f - i / 8.0f, 0.125f);
                const glm::ivec2 p = pixelOf(slotCentre(slot) + offset);
                for (int channel = 0; channel < 3; ++channel) {
                    float sum = 0.0f;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            sum += pixels[(std::size_t(p.y + dy) * windowSize + p.x + dx) * 4 +
                                          channel];
                    samples.push_back(sum / 9.0f);
                }
            }
        return samples;
    }

    // Per slot, the tile (or the bare face) whose reference look is nearest,
    // if it is near enough.
    Board shown(const std::vector<std::uint8_t>& pixels) const {
        const auto distance = [](const Samples& a, const Samples& b) {
            float sum = 0.0f;
            for (std::size_t i = 0; i < a.size(); ++i)
                sum += std::abs(a[i] - b[i]);
            return sum / float(a.size());
        };
        Board board{};
        for (int slot = 0; slot < tileCount; ++slot) {
            const Samples seen = samplesOf(pixels, slot);
            int best = emptySlot;
            float bestDistance = distance(seen, bareFace[slot]);
            for (int tile = 0; tile < tileCount; ++tile)
                if (const float d = distance(seen, pictureTiles[tile]); d < bestDistance)
                    best = tile, bestDistance = d;
            board[slot] = bestDistance < maxDistance ? best : unknown;
        }
        return board;
    }

    std::vector<std::uint8_t> frame(float deltaSeconds) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cube.draw();
        puzzle.update(deltaSeconds);
        return zarn::test::readPixels(0, 0, windowSize, windowSize);
    }

    // A left click on the middle of a slot, as the frame loop casts it.
    void click(int row, int column) {
        const glm::ivec2 p = pixelOf(slotCentre(row * 3 + column) + glm::vec3(0, 0, 0.125f));
        const PickRay ray =
            makePickRay(p.x, windowSize - p.y, windowSize, windowSize, camera.viewProjection());
        puzzle.onClick(ray.origin, ray.direction);
    }

    // The bare face alone, then the finished picture built here: tile k's
    // texture in slot k, turned half a turn about z so that it stands upright.
    void takeReferences() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cube.draw();
        std::vector<std::uint8_t> pixels = zarn::test::readPixels(0, 0, windowSize, windowSize);
        for (int slot = 0; slot < tileCount; ++slot)
            bareFace[slot] = samplesOf(pixels, slot);

        const GeometryData box = createBox(1.0f, 1.0f, 0.25f);
        for (int k = 0; k < tileCount; ++k) {
            const std::string file =
                "assets/textures/movingTiles/movingTiles_" + std::to_string(k) + ".dds";
            const glm::mat4 pose = glm::rotate(glm::translate(glm::mat4(1.0f), slotCentre(k)),
                                               glm::pi<float>(), glm::vec3(0, 0, 1));
            InstancedGeometry(
                pose, box, std::make_shared<Material>(shader, file.c_str(), 0.5f, 0.7f, 0.1f, 2.0f))
                .draw();
        }
        pixels = zarn::test::readPixels(0, 0, windowSize, windowSize);
        for (int k = 0; k < tileCount; ++k)
            pictureTiles[k] = samplesOf(pixels, k);
    }

    zarn::test::GLTestContext context{windowSize, windowSize, 0};
    PhysicsWorld physics;
    std::shared_ptr<Shader> shader = makeProgram(Program::PhongInstanced);
    InputState input;
    Camera camera{60.0f, 1.0f, 0.1f, 100.0f, input};
    InstancedGeometry cube{glm::mat4(1.0f), createBox(3.0f, 3.0f, 3.0f),
                           std::make_shared<Material>(shader, glm::vec3(0.3f, 0.35f, 0.4f))};
    std::array<Samples, tileCount> bareFace;
    std::array<Samples, tileCount> pictureTiles;
    MovingTiles puzzle{physics, shader};
};

} // namespace

TEST_F(MovingTilesGLTest, AClickedTileBesideTheBlankSlidesIntoItsSlotAndOtherClicksChangeNothing) {
    EXPECT_EQ(shown(frame(0.0f)), expectedView(startArrangement, false));

    click(1, 0); // tile 4, above the blank
    TileArrangement moved = startArrangement;
    std::swap(moved[1][0], moved[2][0]);
    EXPECT_EQ(puzzle.grid.tiles, moved);
    frame(0.1f);
    click(0, 0); // beside the blank's new slot, but the slide is still running
    EXPECT_EQ(puzzle.grid.tiles, moved);
    const std::vector<std::uint8_t> after = frame(0.15f);
    EXPECT_TRUE(puzzle.animator.isIdle());
    EXPECT_EQ(shown(after), expectedView(moved, false));

    // The blank's slot, a tile two slots away, a diagonal neighbour.
    for (const auto& [row, column] : {std::pair{1, 0}, {1, 2}, {2, 1}}) {
        click(row, column);
        EXPECT_TRUE(puzzle.animator.isIdle()) << "click at " << row << ", " << column;
        EXPECT_EQ(puzzle.grid.tiles, moved);
        EXPECT_TRUE(frame(0.0f) == after) << "click at " << row << ", " << column;
    }
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(MovingTilesGLTest, SolvingByClicksRaisesTheMissingPieceAndTheWholePictureShows) {
    // A shortest solution; the rules test finds one of this length.
    const std::vector<std::pair<int, int>> clicks{{1, 0}, {1, 1}, {2, 1}, {2, 0}, {1, 0},
                                                  {1, 1}, {1, 2}, {0, 2}, {0, 1}, {0, 0},
                                                  {1, 0}, {1, 1}, {2, 1}, {2, 2}};
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        click(clicks[i].first, clicks[i].second);
        ASSERT_FALSE(puzzle.animator.isIdle()) << "click " << i << " moved nothing";
        // Solved as the completing move is made, before its slides run.
        EXPECT_EQ(puzzle.solved, i + 1 == clicks.size()) << "after click " << i;
        frame(0.25f);
    }
    // The slides are over; the missing piece has risen a quarter of the way
    // and is still behind the face.
    EXPECT_EQ(shown(frame(0.0f)), expectedView(goalArrangement, false));

    const std::vector<std::uint8_t> finished = frame(0.75f);
    EXPECT_TRUE(puzzle.animator.isIdle());
    EXPECT_EQ(shown(finished), expectedView(goalArrangement, true));

    for (const auto& [row, column] : {std::pair{2, 1}, {1, 2}, {2, 2}}) {
        click(row, column);
        EXPECT_TRUE(puzzle.animator.isIdle());
        EXPECT_TRUE(frame(0.0f) == finished) << "click at " << row << ", " << column;
    }
    EXPECT_EQ(puzzle.grid.tiles, goalArrangement);
    EXPECT_TRUE(context.debugMessages().empty());
}
