#include "views/Renderer.h"

#include "app/Camera.h"
#include "puzzles/BallGame.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "puzzles/Solvers.h"
#include "render/Light.h"
#include "render/Occlusion.h"
#include "render/ShadowMapping.h"
#include "session/GameSession.h"
#include "support/GLTestContext.h"
#include "views/MazeView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zarn;

namespace {

constexpr int size = 400;
using Image = std::vector<std::uint8_t>;

// The scene as the renderer draws a game session, seen from one side. Each
// face's test changes the session and checks that the picture follows it
// where the face's view should draw the change, and only there.
class ViewsGLTest : public testing::Test {
protected:
    // The eye at (yaw, pitch) around the cube.
    void look(float yaw, float pitch) {
        camera.yaw = yaw;
        camera.pitch = pitch;
        camera.update(0, 0);
    }
    Image draw() {
        renderer.advance(session);
        renderer.drawScene(session, camera.viewProjection(), camera.position);
        return zarn::test::readPixels(0, 0, size, size);
    }
    Image drawAgain() {
        renderer.drawScene(session, camera.viewProjection(), camera.position);
        return zarn::test::readPixels(0, 0, size, size);
    }
    void advance(double seconds) {
        for (int frame = 0; frame < int(seconds * 64); ++frame)
            session.advance(wall += 1.0 / 64.0);
    }
    void click(const glm::vec3& point, const glm::vec3& outward) {
        session.click({point + outward * 4.0f, -outward});
    }

    // Where the camera shows a world point, in pixels from the bottom left.
    glm::ivec2 pixelOf(const glm::vec3& point) const {
        const glm::vec4 clip = camera.viewProjection() * glm::vec4(point, 1.0f);
        return glm::ivec2((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * float(size));
    }
    // Mean colour of a square of pixels around where a world point shows.
    static glm::vec3 colourAround(const Image& image, glm::ivec2 at, int radius = 3) {
        glm::vec3 sum(0.0f);
        for (int y = at.y - radius; y <= at.y + radius; ++y)
            for (int x = at.x - radius; x <= at.x + radius; ++x)
                for (int c = 0; c < 3; ++c)
                    sum[c] += image[(std::size_t(y) * size + std::size_t(x)) * 4 + std::size_t(c)];
        return sum / float((2 * radius + 1) * (2 * radius + 1));
    }
    glm::vec3 colourAt(const Image& image, const glm::vec3& point, int radius = 3) const {
        return colourAround(image, pixelOf(point), radius);
    }
    // Sum of absolute differences over a box of pixels.
    static long difference(const Image& a, const Image& b, glm::ivec2 from, glm::ivec2 to) {
        long total = 0;
        for (int y = from.y; y < to.y; ++y)
            for (int x = from.x; x < to.x; ++x)
                for (int c = 0; c < 3; ++c) {
                    const std::size_t i = (std::size_t(y) * size + std::size_t(x)) * 4 + c;
                    total += std::abs(int(a[i]) - int(b[i]));
                }
        return total;
    }

    zarn::test::GLTestContext context{size, size};
    InputState input;
    Camera camera{60.0f, 1.0f, 0.1f, 100.0f, input};
    Renderer renderer{size, size, camera.projection};
    double wall = 0.0;
    GameSession session{0.0};
};

constexpr float quarter = 1.5707964f;

} // namespace

// Each tile shows where the game holds it; the sunk blank leaves a dark well
// until the picture is complete.
TEST_F(ViewsGLTest, TilesShowTheirPicturesInTheSlotsTheGameHoldsThem) {
    look(0.0f, 0.0f);
    const auto slot = [](int row, int column) {
        return MovingTiles::slotPosition({row, column}) + glm::vec3(0.0f, 0.0f, 0.125f);
    };
    const Image before = draw();
    const glm::vec3 tile0 = colourAt(before, slot(2, 1));
    const float well = glm::length(colourAt(before, slot(2, 0)));
    EXPECT_LT(well + 100.0f, glm::length(tile0));
    click(slot(2, 1), {0, 0, 1});
    advance(0.25);
    const Image after = draw();
    click(slot(2, 0), {0, 0, 1});
    advance(0.25);
    EXPECT_LT(glm::distance(colourAt(after, slot(2, 0)), tile0), 12.0f) << "tile 0 did not move";
    EXPECT_LT(std::abs(glm::length(colourAt(after, slot(2, 1))) - well), 20.0f);

    for (const TileSlot& move : shortestTileSolution(startArrangement)) {
        click(slot(move.row, move.column), {0, 0, 1});
        advance(0.25);
    }
    advance(1.0);
    ASSERT_TRUE(session.tiles().solved());
    EXPECT_GT(glm::length(colourAt(draw(), slot(2, 2))), well + 100.0f) << "the blank never rose";
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(ViewsGLTest, TheRiverShowsEachFigureWhereItStandsAndTheBoatAtItsBank) {
    look(quarter, 0.0f);
    const auto centre = [](const glm::mat4& pose) {
        return glm::vec3(pose[3]);
    };
    const glm::vec3 rabbitSpot = centre(session.river().figurePose(RiverCrossing::rabbit));
    const glm::vec3 boatHere = centre(session.river().rules().boatPlacement());
    const Image before = draw();
    click(RiverCrossingGame::target(1, 0).centre, {-1, 0, 0}); // the rabbit boards
    advance(0.75);
    const Image boarded = draw();
    const auto changed = [&](const Image& a, const Image& b, const glm::vec3& point) {
        const glm::ivec2 box(15, 15);
        return difference(a, b, pixelOf(point) - box, pixelOf(point) + box);
    };
    EXPECT_GT(changed(before, boarded, rabbitSpot), 30000) << "the rabbit is still on its spot";
    EXPECT_GT(changed(before, boarded, boatHere), 30000) << "no rabbit in the boat";
    click(RiverCrossingGame::target(1, 1).centre, {-1, 0, 0}); // and over
    advance(0.25);
    const glm::vec3 boatThere = centre(session.river().rules().boatPlacement());
    const Image crossed = draw();
    EXPECT_GT(changed(boarded, crossed, boatHere), 30000) << "the boat stayed";
    EXPECT_GT(changed(boarded, crossed, boatThere), 30000) << "the boat did not arrive";
    EXPECT_EQ(changed(before, crossed, centre(session.river().figurePose(RiverCrossing::bear))), 0)
        << "the bear moved";
}

// A coloured cell streams its colour out of the board, under the end cells'
// marks; a solved board shows the finished picture and no particles.
TEST_F(ViewsGLTest, TheFlowBoardStreamsEachCellsColourUntilItIsSolved) {
    look(-quarter, 0.0f);
    const glm::vec3 cell0 = flowCellCentre(0) - glm::vec3(0.05f, 0.0f, 0.0f);
    const glm::vec3 cell1 = flowCellCentre(1) - glm::vec3(0.05f, 0.0f, 0.0f);
    session.advance(wall += 0.5);
    draw();
    const Image start = draw();
    const glm::vec3 empty = colourAt(start, cell0, 10);
    const glm::vec3 mark = colourAt(start, flowCellCentre(3), 2); // a red end
    EXPECT_GT(std::min({mark.r, mark.g, mark.b}), 200.0f) << "no white mark over the red stream";
    click(flowCellCentre(0), {1, 0, 0}); // empty to colour 1, red
    for (int frame = 0; frame < 20; ++frame) {
        session.advance(wall += 0.05);
        draw();
    }
    const glm::vec3 streaming = colourAt(draw(), cell0, 10);
    EXPECT_GT(streaming.r - streaming.b, empty.r - empty.b + 15.0f) << "no red stream";

    for (int k = 0; k < flowCellCount; ++k)
        while (session.flow().cells[std::size_t(k)] !=
                   flowSolution[std::size_t(k / 5)][std::size_t(k % 5)] &&
               session.flow().editable[std::size_t(k)])
            click(flowCellCentre(k), {1, 0, 0});
    ASSERT_TRUE(session.flow().solved);
    session.advance(wall += 0.05);
    const Image finished = draw();
    const glm::ivec2 corner = pixelOf(flowCellCentre(0) + glm::vec3(0, 0.2f, 0.2f));
    const glm::ivec2 farCorner = pixelOf(flowCellCentre(24) - glm::vec3(0, 0.2f, 0.2f));
    session.advance(wall += 0.5);
    EXPECT_EQ(
        difference(finished, draw(), glm::min(corner, farCorner), glm::max(corner, farCorner)), 0)
        << "particles still move over the solved board";
    // The dark well of an empty cell has become the finished picture's path.
    EXPECT_GT(glm::distance(colourAt(finished, cell1, 10), colourAt(start, cell1, 10)), 50.0f)
        << "no finished picture";
}

TEST_F(ViewsGLTest, TheBallIsDrawnWhereThePhysicsHasIt) {
    look(0.0f, 1.2f);
    advance(1.0);
    const Image atStart = draw();
    const glm::vec3 start = session.ball().centre();
    session.pushBall(BallMaze::Arrow::Down, {0.0f, 5.0f, 6.0f});
    advance(0.5);
    const glm::vec3 moved = session.ball().centre();
    ASSERT_GT(glm::distance(moved, start), 0.2f);
    const Image later = draw();
    const auto changed = [&](const glm::vec3& point) {
        const glm::ivec2 box(6, 6);
        return difference(atStart, later, pixelOf(point) - box, pixelOf(point) + box);
    };
    EXPECT_GT(changed(start), 10000) << "a ball where it was";
    EXPECT_GT(changed(moved), 10000) << "no ball where it is";
    EXPECT_EQ(changed(BallMaze::cellCentre(5, 5)), 0) << "the board moved";
    EXPECT_GT(glm::length(colourAt(later, moved, 2)), 200.0f) << "only the black rim moved";
}

// Leaving out what the cube's body hides never changes the picture, from all
// round the cube, near and far.
TEST_F(ViewsGLTest, LeavingOutWhatTheBodyHidesKeepsThePicture) {
    advance(1.0);
    renderer.advance(session);
    for (const float distance : {cameraMinDistance, cameraMaxDistance})
        for (int turn = 0; turn < 8; ++turn)
            for (const float pitch : {-1.2f, -0.45f, 0.0f, 0.2f, 0.45f, 1.2f}) {
                input.cameraDistance = distance;
                look(float(turn) * 0.7853982f, pitch);
                renderer.skipHidden = true;
                const Image skipping = drawAgain();
                renderer.skipHidden = false;
                const Image everything = drawAgain();
                EXPECT_TRUE(skipping == everything)
                    << "turn " << turn << ", pitch " << pitch << ", distance " << distance;
            }
}

// The maze's shadow map is rendered again once the ball has moved.
TEST_F(ViewsGLTest, TheMazesShadowsFollowTheBall) {
    const auto shadows =
        std::make_shared<ShadowMapping>(renderer.program(Program::DepthInstanced), sunDirection,
                                        renderer.program(Program::ShadowMapped), 256);
    MazeView maze(shadows, renderer.program(Program::Particle), camera.projection);
    const auto depthMap = [&] {
        std::vector<float> depths(256 * 256);
        glBindTexture(GL_TEXTURE_2D, shadows->depthTexture.id());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        return depths;
    };
    advance(1.0);
    maze.draw(session.ball(), Sight{});
    const std::vector<float> atStart = depthMap();
    session.pushBall(BallMaze::Arrow::Down, {0.0f, 5.0f, 6.0f});
    advance(0.5);
    maze.draw(session.ball(), Sight{});
    EXPECT_NE(depthMap(), atStart);
}

// The button sinks into its frame while pressed; the panel's pieces slide
// out one by one as the game solves their puzzles.
TEST_F(ViewsGLTest, TheButtonAndThePanelPiecesMoveAsTheGameMovesThem) {
    look(0.6f, -1.0f);
    const Image resting = draw();
    click({0.0f, -1.75f, 0.0f}, {0, -1, 0});
    advance(0.25);
    const glm::ivec2 button = pixelOf({0.0f, -1.75f, 0.0f});
    const glm::ivec2 box(60, 60);
    EXPECT_GT(difference(resting, draw(), button - box, button + box), 50000)
        << "the button did not move";

    look(2.0f * quarter + 0.7f, 0.0f);
    const Image in = draw();
    for (const TileSlot& move : shortestTileSolution(startArrangement)) {
        click(MovingTiles::slotPosition(move), {0, 0, 1});
        advance(0.25);
    }
    advance(5.5);
    ASSERT_EQ(session.panel().piecePose(2), PentagonPanel::pushedPose);
    // Out of the cube, not into it: half a unit further from its centre.
    EXPECT_NEAR(glm::length(glm::vec3(PentagonPanel::pushedPose[3])) -
                    glm::length(glm::vec3(PentagonPanel::restPose[3])),
                0.5f, 1e-5f);
    const Image out = draw();
    const glm::ivec2 panel = pixelOf({0.0f, 0.0f, -1.5f});
    EXPECT_GT(difference(in, out, panel - glm::ivec2(120), panel + glm::ivec2(120)), 50000)
        << "no piece slid out";
    EXPECT_TRUE(context.debugMessages().empty());
}
