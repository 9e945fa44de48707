#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/PentagonPanel.h"
#include "render/ParticleEmitter.h"
#include "render/Shader.h"
#include "render/ShadowMapping.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

// The objects on the cube's bottom, back and top faces, built as the
// application builds them; their moves are read from their placements.
class CubeFacesGLTest : public testing::Test {
protected:
    zarn::test::GLTestContext context{64, 64, 0};
    std::shared_ptr<Shader> modelShader = makeProgram(Program::ModelLoading);
    PhysicsWorld physics;
};

float heightOf(const Placeable& placeable) {
    return placeable.placement()[3].y;
}

} // namespace

// A click from below presses the button 0.125 up into its frame over a
// quarter second; then it comes back down to rest.
TEST_F(CubeFacesGLTest, AClickedButtonRisesIntoItsFrameAndComesBackDown) {
    CubeBottom bottom(physics, modelShader);
    EXPECT_FLOAT_EQ(heightOf(bottom.button), -1.75f);
    bottom.onClick({0.0f, -5.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    ASSERT_TRUE(bottom.state.pressed);
    bottom.update(0.125f);
    EXPECT_NEAR(heightOf(bottom.button), -1.6875f, 1e-5f);
    bottom.update(0.125f);
    EXPECT_NEAR(heightOf(bottom.button), -1.625f, 1e-5f) << "not pressed in";
    EXPECT_FALSE(bottom.state.pressed) << "the release did not start";
    bottom.update(0.25f);
    EXPECT_NEAR(heightOf(bottom.button), -1.75f, 1e-5f) << "not back at rest";
}

// The panel lies on the back face (z = -1.625); a piece slides half a unit
// further out, away from the cube, over five seconds, and the others stay.
TEST_F(CubeFacesGLTest, ARequestedPanelPieceSlidesOutOfTheCube) {
    PentagonPanel panel(modelShader);
    const float rest = panel.pieces[3].model->placement()[3].z;
    panel.requestToggle(3);
    panel.update(panelSlideSeconds / 2);
    EXPECT_NEAR(panel.pieces[3].model->placement()[3].z, rest - 0.25f, 1e-4f);
    panel.update(panelSlideSeconds / 2);
    EXPECT_NEAR(panel.pieces[3].model->placement()[3].z, rest - 0.5f, 1e-5f);
    EXPECT_LT(panel.pieces[3].model->placement()[3].z, -1.625f);
    for (int other : {1, 2, 4, 5})
        EXPECT_EQ(panel.pieces[std::size_t(other)].model->placement()[3].z, rest) << other;
}

// Of the four pit fountains only the goal's, over cell (10, 10), glows in
// colours of its own; the three trap pits share theirs.
TEST_F(CubeFacesGLTest, OnlyTheGoalPitsFountainHasColoursOfItsOwn) {
    auto shadows = std::make_shared<ShadowMapping>(makeProgram(Program::DepthInstanced),
                                                   glm::vec3(0.0f, -1.0f, -1.0f),
                                                   makeProgram(Program::ShadowMapped));
    const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);
    BallGame maze(physics, shadows, makeProgram(Program::Particle), projection);
    ASSERT_EQ(maze.pitEmitters.size(), 4u);
    const glm::vec3 goal = BallMaze::cellCentre(10, 10);
    std::vector<std::array<glm::vec3, 2>> trapColours;
    std::array<glm::vec3, 2> goalColours{};
    for (const auto& emitter : maze.pitEmitters) {
        const auto& [corner, extent] = emitter->simulation.spawnArea;
        const glm::vec3 middle = corner + 0.5f * extent;
        if (glm::distance(glm::vec2(middle.x, middle.z), glm::vec2(goal.x, goal.z)) < 1e-5f)
            goalColours = emitter->simulation.colours;
        else
            trapColours.push_back(emitter->simulation.colours);
    }
    ASSERT_EQ(trapColours.size(), 3u) << "no fountain over the goal";
    for (const auto& colours : trapColours) {
        EXPECT_EQ(colours, trapColours.front());
        EXPECT_NE(colours[0], goalColours[0]);
    }
}
