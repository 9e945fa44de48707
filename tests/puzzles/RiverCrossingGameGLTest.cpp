#include "puzzles/RiverCrossingGame.h"

#include "physics/PhysicsWorld.h"
#include "render/Light.h"
#include "render/Shader.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

constexpr int size = 400;
const glm::vec3 eye(-6.0f, 0.0f, 0.0f);
using Image = std::vector<std::uint8_t>;

// The -x face seen square on, set up as the frame loop would: the start bank
// on the left, the river running down the middle.
class RiverCrossingGameGLTest : public testing::Test {
protected:
    RiverCrossingGameGLTest() {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        sunLight(modelShader).setUniforms(0);
        for (const auto& shader : {geometryShader, modelShader, particleShader}) {
            glUseProgram(shader->programId);
            shader->setUniform("viewProjMatrix", viewProjection);
            shader->setUniform("viewPosition", eye);
        }
    }
    void TearDown() override {
        EXPECT_TRUE(context.debugMessages().empty()) << context.debugMessages().front();
        GLint cullFace = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
        EXPECT_EQ(cullFace, GL_BACK);
    }

    Image frame(float deltaSeconds) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        game.update(deltaSeconds);
        return zarn::test::readPixels(0, 0, size, size);
    }
    void click(int row, int column) {
        game.onClick(eye, glm::normalize(game.pickCentres[row][column] - eye));
    }
    void walkToTheEnd() {
        for (int i = 0; i < 6; ++i)
            frame(0.1f);
        ASSERT_TRUE(game.animator.isIdle());
    }
    glm::ivec2 pixelOf(const glm::vec3& world) const {
        const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
        return glm::ivec2((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * float(size));
    }
    static int brightness(const Image& image, glm::ivec2 p) {
        const std::uint8_t* rgb = &image[(std::size_t(p.y) * size + std::size_t(p.x)) * 4];
        return rgb[0] + rgb[1] + rgb[2];
    }
    // Pixels within 8 of where a world point lands that differ clearly.
    int changedAround(const Image& before, const Image& after, const glm::vec3& world) const {
        int changed = 0;
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -8; dx <= 8; ++dx) {
                const glm::ivec2 p = pixelOf(world) + glm::ivec2(dx, dy);
                changed += std::abs(brightness(before, p) - brightness(after, p)) > 60 ? 1 : 0;
            }
        return changed;
    }

    zarn::test::GLTestContext context{size, size, 0};
    glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);
    glm::mat4 viewProjection =
        projection * glm::lookAt(eye, glm::vec3(-1.5f, 0, 0), glm::vec3(0, 1, 0));
    std::shared_ptr<Shader> geometryShader = makeProgram(Program::CelShadedInstanced);
    std::shared_ptr<Shader> modelShader = makeProgram(Program::ModelLoading);
    std::shared_ptr<Shader> particleShader = makeProgram(Program::ParticleFlow);
    PhysicsWorld physics;
    RiverCrossingGame game{physics, geometryShader, modelShader, particleShader, projection};
};

} // namespace

// Straight on and slanted four ways, the ray to a target's centre hits that
// target; midway between neighbouring far-bank spots lies a gap rather than
// two boxes at the same distance.
TEST_F(RiverCrossingGameGLTest, EveryTargetCentreHitsItsOwnTarget) {
    const glm::vec3 slants[] = {
        {1, 0, 0}, {1, 0.7f, 0}, {1, -0.7f, 0}, {1, 0, 0.7f}, {1, 0, -0.7f}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            for (const glm::vec3& slant : slants) {
                const glm::vec3 direction = glm::normalize(slant);
                const glm::vec3 centre = game.pickCentres[row][column];
                EXPECT_EQ(physics.pickActor(centre - 3.0f * direction, direction),
                          game.pickColliders[row][column])
                    << "row " << row << ", column " << column << ", slant " << slant.y << ", "
                    << slant.z;
            }
    for (int row = 0; row < 2; ++row) {
        const glm::vec3 between = 0.5f * (game.pickCentres[row][2] + game.pickCentres[row + 1][2]);
        EXPECT_EQ(physics.pickActor(between - glm::vec3(3, 0, 0), {1, 0, 0}), nullptr) << row;
    }
}

// The rabbit walks from its spot into the boat; the arrow does nothing while
// it walks, then the boat crosses with it.
TEST_F(RiverCrossingGameGLTest, AClickedFigureWalksIntoTheBoatAndCrossesWithIt) {
    const glm::vec3 spot(-1.85f, 0.0f, -1.0f), seat(-1.85f, 0.0f, -0.3f), farSeat(-1.85f, 0, 0.3f);
    const Image before = frame(0.0f);
    click(1, 0);
    frame(0.25f);
    EXPECT_TRUE(game.figures[RiverCrossing::rabbit].walking);
    EXPECT_NEAR(game.figures[RiverCrossing::rabbit].model.placement()[3].z, -0.65f, 0.02f);
    click(1, 1);
    EXPECT_TRUE(game.rules.boatAtStart) << "the arrow acted during the walk";
    walkToTheEnd();
    const Image seated = frame(0.0f);
    EXPECT_FALSE(game.figures[RiverCrossing::rabbit].walking);
    EXPECT_GT(changedAround(before, seated, spot), 100) << "the rabbit did not leave its spot";
    EXPECT_GT(changedAround(before, seated, seat), 60) << "the rabbit is not in the boat";

    click(1, 1);
    const Image crossed = frame(0.0f);
    EXPECT_GT(changedAround(seated, crossed, seat), 100) << "the boat stayed";
    EXPECT_GT(changedAround(seated, crossed, farSeat), 100) << "the boat did not arrive";
}

// Taking the bear over first fails: the message comes through getMessage and
// counts down, and the bear is back on its spot at once.
TEST_F(RiverCrossingGameGLTest, AFailedCrossingShowsTheMessageAndSendsEveryoneHome) {
    const glm::vec3 bearSpot(-1.85f, 0.6667f, -1.0f);
    const Image before = frame(0.0f);
    click(0, 0);
    walkToTheEnd();
    EXPECT_GT(changedAround(before, frame(0.0f), bearSpot), 100);
    click(1, 1);
    EXPECT_LT(changedAround(before, frame(1.0f), bearSpot), 10) << "the bear is not back";
    std::string text;
    float secondsLeft = 0.0f;
    game.getMessage(text, secondsLeft);
    EXPECT_EQ(text, "The rabbit ate the carrot!");
    EXPECT_FLOAT_EQ(secondsLeft, 2.0f);
}

// The seven crossings by clicks, each walk left to finish: the last unload
// solves the game, for the frame loop to count.
TEST_F(RiverCrossingGameGLTest, SolvingByClicksEndsTheGame) {
    const std::pair<int, int> clicks[] = {
        {1, 0}, {1, 1}, {2, 1}, {1, 1},                 // the rabbit over, back empty
        {0, 0}, {1, 1}, {2, 1}, {1, 2}, {1, 1}, {0, 1}, // the bear over, the rabbit back
        {2, 0}, {1, 1}, {2, 1}, {1, 1},                 // the carrot over, back empty
        {1, 0}, {1, 1}, {2, 1}};                        // the rabbit over
    for (const auto& [row, column] : clicks) {
        EXPECT_FALSE(game.solved);
        click(row, column);
        game.animator.update(1.0f);
    }
    EXPECT_TRUE(game.solved);
}

// The glints write no depth, so they must come after the river bed.
TEST_F(RiverCrossingGameGLTest, GlintsShowOnTheWater) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    game.water.draw();
    const Image bed = zarn::test::readPixels(0, 0, size, size);
    const Image full = frame(1.0f);
    // The lower river, clear of the boat and the arrow.
    const glm::ivec2 low = pixelOf({-1.625f, -1.4f, -0.4f}), high = pixelOf({-1.625f, -0.5f, 0.4f});
    int brighter = 0;
    for (int y = low.y; y < high.y; ++y)
        for (int x = low.x; x < high.x; ++x)
            brighter += brightness(full, {x, y}) > brightness(bed, {x, y}) + 20 ? 1 : 0;
    EXPECT_GT(brighter, 20);
}
