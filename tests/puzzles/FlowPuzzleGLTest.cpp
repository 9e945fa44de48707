#include "puzzles/FlowPuzzle.h"

#include "physics/PhysicsWorld.h"
#include "physics/PickRay.h"
#include "render/InstancedGeometry.h"
#include "render/Light.h"
#include "render/ParticleEmitter.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>

using namespace zarn;

namespace {

constexpr int size = 400;
using Image = std::vector<std::uint8_t>;

// Cell 0 (top left) is editable and its neighbours are empty; cell 3 is the
// red end cell of row 0.
constexpr int corner = 0;
constexpr int redEnd = 3;

bool reddish(const glm::ivec3& c) {
    return c.r > c.g * 3 / 2 + 20 && c.r > c.b * 3 / 2 + 20;
}

// The +x face seen straight on from the player's side, lit by the sun, with
// the board's colliders in a world of their own.
class FlowPuzzleGLTest : public testing::Test {
protected:
    FlowPuzzleGLTest() {
        glEnable(GL_DEPTH_TEST);
        for (const auto& program : {phong, particles}) {
            glUseProgram(program->programId);
            program->setUniform("viewProjMatrix", projection * view);
            program->setUniform("viewPosition", eye);
        }
        sunLight(phong).setUniforms(0);
    }

    // Window pixel of a world point, origin at the bottom-left.
    glm::ivec2 pixelOf(const glm::vec3& point) const {
        return glm::ivec2(glm::project(point, view, projection, glm::vec4(0, 0, size, size)));
    }
    static glm::ivec3 colourAt(const Image& image, glm::ivec2 p) {
        const std::size_t i = (std::size_t(p.y) * size + p.x) * 4;
        return {image[i], image[i + 1], image[i + 2]};
    }

    // A click at the cursor over cell k's centre, as the frame loop makes it.
    void clickCell(int k) {
        const glm::ivec2 pixel = pixelOf(FlowPuzzle::cellCentre(k));
        const PickRay ray = makePickRay(pixel.x, size - pixel.y, size, size, projection * view);
        puzzle.onClick(ray.origin, ray.direction);
    }

    // The frame loop's frame after some earlier ones, so that particles
    // have drifted clear of the board.
    Image frames(int count, float deltaSeconds) {
        for (int frame = 0; frame < count; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            puzzle.update(deltaSeconds);
        }
        return zarn::test::readPixels(0, 0, size, size);
    }
    Image boardOnly() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        puzzle.board->draw();
        return zarn::test::readPixels(0, 0, size, size);
    }

    // Colours of the pixels in the middle of cell k's square (0.2 of its
    // 0.25 half-width around the centre) where image differs from board.
    std::vector<glm::ivec3> changedInCell(const Image& image, const Image& board, int k) const {
        const glm::vec3 centre = FlowPuzzle::cellCentre(k) - glm::vec3(0.075f, 0, 0);
        const glm::ivec2 low = pixelOf(centre + glm::vec3(0, -0.2f, 0.2f));
        const glm::ivec2 high = pixelOf(centre + glm::vec3(0, 0.2f, -0.2f));
        std::vector<glm::ivec3> changed;
        for (int y = low.y; y <= high.y; ++y)
            for (int x = low.x; x <= high.x; ++x)
                if (colourAt(image, {x, y}) != colourAt(board, {x, y}))
                    changed.push_back(colourAt(image, {x, y}));
        return changed;
    }

    zarn::test::GLTestContext context{size, size, 0};
    const glm::vec3 eye{6.0f, 0.0f, 0.0f};
    const glm::mat4 view = glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);
    std::shared_ptr<Shader> phong = makeProgram(Program::PhongInstanced);
    std::shared_ptr<Shader> particles = makeProgram(Program::Particle);
    PhysicsWorld physics;
    FlowPuzzle puzzle{physics, phong, particles, projection};
};

} // namespace

TEST_F(FlowPuzzleGLTest, ClicksCycleEditableCellsWhoseParticlesShowInTheirColour) {
    Image shown = frames(4, 0.3f);
    Image board = boardOnly();
    EXPECT_TRUE(changedInCell(shown, board, corner).empty()) << "particles on an empty cell";
    EXPECT_GT(changedInCell(shown, board, redEnd).size(), 50u) << "no particles on an end cell";

    // An end cell and a ray beside the board change nothing.
    auto expected = puzzle.rules.cells;
    const ParticleEmitter* endEmitter = puzzle.cellEmitters[redEnd].get();
    clickCell(redEnd);
    const glm::vec3 beside = FlowPuzzle::cellCentre(corner) + glm::vec3(0, 0.8f, 0.8f);
    puzzle.onClick(eye, glm::normalize(beside - eye));
    EXPECT_EQ(puzzle.rules.cells, expected);
    EXPECT_EQ(puzzle.cellEmitters[redEnd].get(), endEmitter);

    clickCell(corner);
    expected[corner] = 1;
    EXPECT_EQ(puzzle.rules.cells, expected);
    shown = frames(4, 0.3f);
    board = boardOnly();
    const std::vector<glm::ivec3> changed = changedInCell(shown, board, corner);
    EXPECT_GT(changed.size(), 50u);
    EXPECT_TRUE(std::all_of(changed.begin(), changed.end(), reddish)) << "not in colour 1";
    EXPECT_TRUE(context.debugMessages().empty()) << testing::PrintToString(context.debugMessages());
}

// A cell's click target sits on the square where its particles are born,
// which is where the board's picture shows the cell.
TEST_F(FlowPuzzleGLTest, EveryCellsClickTargetCoversItsParticleSquare) {
    int coloured = 0;
    for (int k = 0; k < flowCellCount; ++k) {
        if (!puzzle.cellEmitters[k])
            continue;
        ++coloured;
        const auto& [corner, extent] = puzzle.cellEmitters[k]->simulation.spawnArea;
        const glm::vec3 middle = corner + 0.5f * extent;
        const glm::vec3 target = FlowPuzzle::cellCentre(k);
        EXPECT_NEAR(target.y, middle.y, 1e-5f) << "cell " << k;
        EXPECT_NEAR(target.z, middle.z, 1e-5f) << "cell " << k;
    }
    EXPECT_EQ(coloured, 10);
}

TEST_F(FlowPuzzleGLTest, SolvingByClicksShowsTheFinishedBoardAndNoParticles) {
    const glm::ivec2 cornerPixel =
        pixelOf(FlowPuzzle::cellCentre(corner) - glm::vec3(0.075f, 0, 0));
    EXPECT_FALSE(reddish(colourAt(boardOnly(), cornerPixel)));
    for (int k = 0; k < flowCellCount; ++k) {
        const int goal = flowSolution[k / 5][k % 5];
        for (int click = 0; puzzle.rules.editable[k] && click < goal; ++click) {
            EXPECT_FALSE(puzzle.solved) << "cell " << k;
            clickCell(k);
        }
        frames(1, 0.2f);
    }
    EXPECT_TRUE(puzzle.solved);

    const Image shown = frames(1, 0.2f);
    EXPECT_TRUE(shown == boardOnly()) << "particles drawn after solving";
    // The finished picture runs the red path through the corner cell.
    EXPECT_TRUE(reddish(colourAt(shown, cornerPixel)));

    const auto solvedCells = puzzle.rules.cells;
    clickCell(corner);
    EXPECT_EQ(puzzle.rules.cells, solvedCells);
    EXPECT_TRUE(context.debugMessages().empty()) << testing::PrintToString(context.debugMessages());
}

TEST_F(FlowPuzzleGLTest, ReplacedEmittersAreReleasedAndAllShareOneSprite) {
    const auto liveEmitters = [&] {
        long count = 0;
        for (const auto& emitter : puzzle.cellEmitters)
            if (emitter) {
                ++count;
                EXPECT_EQ(emitter->texture, puzzle.sprite);
            }
        return count;
    };
    EXPECT_EQ(liveEmitters(), 10);
    EXPECT_EQ(puzzle.sprite.use_count(), 1 + 10);
    for (int click = 0; click < 6 * 20 + 3; ++click) {
        clickCell(corner);
        clickCell(1);
        frames(1, 0.05f);
    }
    EXPECT_EQ(liveEmitters(), 12);
    EXPECT_EQ(puzzle.sprite.use_count(), 1 + 12) << "replaced emitters kept alive";
    EXPECT_EQ(puzzle.cellEmitters[corner]->simulation.colours[0], glm::vec3(0.16f, 0.63f, 0.63f));
    EXPECT_TRUE(context.debugMessages().empty()) << testing::PrintToString(context.debugMessages());
}
