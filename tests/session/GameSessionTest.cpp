#include "session/GameSession.h"

#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "puzzles/Solvers.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <tuple>

using namespace zarn;

namespace {

using Kind = GameEvent::Kind;
using Events = std::vector<GameEvent>;

// A ray from outside the cube straight at a point on a face.
PickRay rayAt(const glm::vec3& point, const glm::vec3& outward) {
    return {point + outward * 4.0f, -outward};
}
PickRay tileRay(int slot) {
    return rayAt(MovingTiles::slotPosition({slot / 3, slot % 3}), {0, 0, 1});
}
PickRay riverRay(int row, int column) {
    return rayAt(RiverCrossingGame::target(row, column).centre, {-1, 0, 0});
}
PickRay flowRay(int k) {
    return rayAt(flowCellCentre(k), {1, 0, 0});
}
const PickRay buttonRay = rayAt({0, -1.75f, 0}, {0, -1, 0});
const PickRay arrowRay = riverRay(1, 1);
const glm::vec3 frontAbove(0.0f, 5.0f, 6.0f); // an eye in front of the cube, above it

bool near(const glm::mat4& a, const glm::mat4& b) {
    for (int c = 0; c < 4; ++c)
        if (glm::distance(a[c], b[c]) > 1e-5f)
            return false;
    return true;
}

// Frames of 1/64 s: every time is a whole number of microseconds.
constexpr double frameSeconds = 1.0 / 64.0;

class GameSessionTest : public testing::Test {
protected:
    void run(int frames) {
        for (int i = 0; i < frames; ++i)
            session.advance(wall += frameSeconds);
    }

    double wall = 0.0;
    GameSession session{0.0};
};

} // namespace

TEST_F(GameSessionTest, TilesSlideOneAtATimeAndTheCompletingClickCountsAtOnce) {
    session.click(tileRay(7)); // tile 0, beside the blank in the bottom-left corner
    session.click(tileRay(6)); // it is still sliding: ignored
    EXPECT_EQ(session.takeEvents(), (Events{{Kind::TileMoved, 0}}));
    run(16);
    EXPECT_TRUE(near(session.tiles().pose(0), MovingTiles::tilePose({2, 0})));

    session.click(tileRay(6)); // and back
    run(16);
    for (const TileSlot& slot : shortestTileSolution(startArrangement)) {
        EXPECT_EQ(session.solvedCount(), 0);
        session.click(tileRay(slot.row * 3 + slot.column));
        run(16);
    }
    // A TileMoved for each of the 15 clicks, the last followed by the solve;
    // then the panel slides the tiles' piece out.
    const Events events = session.takeEvents();
    ASSERT_EQ(events.size(), 17u);
    EXPECT_EQ(events[14].kind, Kind::TileMoved);
    EXPECT_EQ(events[15], (GameEvent{Kind::PuzzleSolved, int(Puzzle::Tiles)}));
    EXPECT_EQ(events[16], (GameEvent{Kind::PanelPieceOut, 2}));
    // Each event carries the game time it happened at: the last click came
    // one run of 16 frames ago.
    EXPECT_DOUBLE_EQ(events[14].seconds, session.seconds() - 16 * frameSeconds);
    EXPECT_DOUBLE_EQ(events[15].seconds, events[14].seconds);
    EXPECT_EQ(session.solvedCount(), 1);
    // The blank rises into the bottom-right corner over a second; every
    // tile stands in its slot of the picture.
    EXPECT_NE(session.tiles().pose(blankTile), MovingTiles::tilePose({2, 2}));
    run(64);
    for (int tile = 0; tile < tileCount; ++tile)
        EXPECT_TRUE(near(session.tiles().pose(tile),
                         MovingTiles::tilePose(findTile(goalArrangement, tile))))
            << "tile " << tile;
    session.click(tileRay(5));
    EXPECT_TRUE(session.takeEvents().empty());
}

TEST_F(GameSessionTest, TheRiverWalksCrossesAndShowsAFailureForThreeSecondsOfPlay) {
    session.click(riverRay(1, 0)); // the rabbit boards
    run(1);
    EXPECT_TRUE(session.river().walking(RiverCrossing::rabbit));
    EXPECT_EQ(session.river().walkStart(RiverCrossing::rabbit), 0.0);
    session.click(arrowRay); // while it walks: ignored
    run(32);
    EXPECT_FALSE(session.river().walking(RiverCrossing::rabbit));
    EXPECT_EQ(session.river().figurePose(RiverCrossing::rabbit),
              session.river().rules().placement(RiverCrossing::rabbit));

    // Rabbit over, back empty, carrot over, back empty: the rabbit eats it.
    for (const PickRay& ray :
         {arrowRay, riverRay(2, 1), arrowRay, riverRay(2, 0), arrowRay, riverRay(2, 1), arrowRay}) {
        session.click(ray);
        run(32);
    }
    EXPECT_EQ(session.takeEvents(),
              (Events{{Kind::FigureBoarded, RiverCrossing::rabbit},
                      {Kind::CrossingStarted},
                      {Kind::FigureLanded, RiverCrossing::rabbit},
                      {Kind::CrossingStarted},
                      {Kind::FigureBoarded, RiverCrossing::carrot},
                      {Kind::CrossingStarted},
                      {Kind::FigureLanded, RiverCrossing::carrot},
                      {Kind::CrossingStarted},
                      {Kind::CrossingFailed, 0, "The rabbit ate the carrot!"}}));
    for (int figure = 0; figure < 3; ++figure)
        EXPECT_EQ(session.river().figurePose(figure), RiverCrossingGame().figurePose(figure));

    // The message lasts three seconds of play; a pause does not use them up.
    EXPECT_EQ(session.river().rules().messageSeconds, 2.5f);
    run(158);
    session.togglePause();
    run(10 * 64);
    EXPECT_EQ(session.river().rules().messageSeconds, 2.0f / 64.0f);
    session.togglePause();
    run(2);
    EXPECT_LE(session.river().rules().messageSeconds, 0.0f);
}

// Two games with the same inputs at the same game times, one of them paused
// for a minute of wall time in the middle, in which clicks and keys come.
TEST(GameSessionPauseTest, AGamePausedForAMinuteEndsAsTheSameGameWithoutThePause) {
    const auto play = [](bool pause) {
        GameSession session(0.0);
        double wall = 0.0;
        const auto step = [&](int frame) {
            if (frame == 40)
                session.click(tileRay(7));
            if (frame == 70)
                session.click(flowRay(0));
            if (frame == 90)
                session.click(riverRay(0, 0));
            if (frame >= 100 && frame % 30 == 0)
                session.pushBall(frame % 60 == 0 ? BallMaze::Arrow::Down : BallMaze::Arrow::Right,
                                 frontAbove);
            session.advance(wall += frameSeconds);
        };
        for (int frame = 0; frame < 120; ++frame)
            step(frame);
        if (pause) {
            session.togglePause();
            for (int frame = 0; frame < 60 * 64; ++frame) {
                session.click(tileRay(6));
                session.click(flowRay(1));
                session.pushBall(BallMaze::Arrow::Up, frontAbove);
                session.ballToStart();
                session.advance(wall += frameSeconds);
            }
            EXPECT_EQ(session.remainingSeconds(), 299);
            session.togglePause();
        }
        for (int frame = 120; frame < 600; ++frame)
            step(frame);

        Events events;
        for (const GameEvent& event : session.takeEvents())
            if (event.kind != Kind::Paused && event.kind != Kind::Resumed)
                events.push_back(event);
        return std::tuple{session.seconds(),
                          session.remainingSeconds(),
                          session.ball().pose(),
                          session.tiles().grid().tiles,
                          session.tiles().pose(0),
                          session.flow().cells,
                          session.river().figurePose(RiverCrossing::bear),
                          events};
    };
    const auto unpaused = play(false);
    const auto paused = play(true);
    EXPECT_EQ(std::get<0>(paused), std::get<0>(unpaused));
    EXPECT_EQ(std::get<1>(paused), std::get<1>(unpaused));
    EXPECT_EQ(std::get<2>(paused), std::get<2>(unpaused)) << "the ball rolled another way";
    EXPECT_EQ(std::get<3>(paused), std::get<3>(unpaused));
    EXPECT_EQ(std::get<4>(paused), std::get<4>(unpaused));
    EXPECT_EQ(std::get<5>(paused), std::get<5>(unpaused));
    EXPECT_EQ(std::get<6>(paused), std::get<6>(unpaused));
    EXPECT_EQ(std::get<7>(paused), std::get<7>(unpaused));
    EXPECT_NE(std::get<2>(unpaused), glm::translate(glm::mat4(1.0f), BallMaze::start))
        << "the ball never moved";
}

TEST(GameSessionTimeTest, TheCountdownIncludesTheLoadingAndTheEndStopsEverything) {
    GameSession session(10.0, 295.5); // started 295.5 s into the game, at wall time 10
    EXPECT_EQ(session.remainingSeconds(), 5);
    session.advance(14.4);
    EXPECT_EQ(session.remainingSeconds(), 1);
    EXPECT_EQ(session.state(), GameState::Running);
    session.click(tileRay(7));
    session.advance(14.6);
    EXPECT_EQ(session.state(), GameState::TimeUp);
    EXPECT_EQ(session.remainingSeconds(), 0);
    EXPECT_EQ(session.takeEvents(),
              (Events{{Kind::Tick, 1}, {Kind::TileMoved, 0}, {Kind::TimeUp}}));

    // The ball hangs where it is, clicks and keys do nothing, there is no
    // pause; the tween that runs plays out.
    const glm::mat4 ball = session.ball().pose();
    session.click(tileRay(6));
    session.pushBall(BallMaze::Arrow::Up, frontAbove);
    session.ballToStart();
    session.togglePause();
    session.advance(20.0);
    EXPECT_EQ(session.ball().pose(), ball);
    EXPECT_EQ(session.tiles().grid().tiles[2][0], 0);
    EXPECT_TRUE(near(session.tiles().pose(0), MovingTiles::tilePose({2, 0})));
    EXPECT_FALSE(session.paused());
    EXPECT_TRUE(session.takeEvents().empty());
    EXPECT_EQ(session.remainingSeconds(), 0);
}

TEST_F(GameSessionTest, PlayAgainStartsAFreshGameWithNothingOfTheOldOne) {
    const int bodies = session.physics().bodyCount();
    session.click(tileRay(7));
    session.click(flowRay(0));
    session.click(riverRay(0, 0));
    session.pushBall(BallMaze::Arrow::Down, frontAbove);
    run(5 * 64);
    session.togglePause();

    session.playAgain(wall);
    const MovingTiles tiles;
    const FlowBoard flow;
    const RiverCrossingGame river;
    EXPECT_EQ(session.tiles().grid().tiles, startArrangement);
    EXPECT_EQ(session.tiles().pose(0), tiles.pose(0));
    EXPECT_EQ(session.flow().cells, flow.cells);
    EXPECT_EQ(session.river().figurePose(RiverCrossing::bear),
              river.figurePose(RiverCrossing::bear));
    EXPECT_EQ(session.river().rules().boatLoaded, false);
    EXPECT_EQ(session.remainingSeconds(), 300);
    EXPECT_FALSE(session.paused());
    EXPECT_EQ(session.ball().pose(), glm::translate(glm::mat4(1.0f), BallMaze::start));
    EXPECT_EQ(session.physics().bodyCount(), bodies);
    run(64);
    EXPECT_EQ(session.remainingSeconds(), 299);
}

TEST_F(GameSessionTest, TheBallHitsAWallAndComesBackAtRestOnBackspace) {
    run(64); // it drops onto its platform
    session.pushBall(BallMaze::Arrow::Down, frontAbove);
    run(40);
    ASSERT_GT(glm::distance(session.ball().centre(), BallMaze::start), 0.3f);
    // Down the ramp is no hit; pushed west into the wall beside it is one.
    const auto hits = [&] {
        int count = 0;
        for (const GameEvent& event : session.takeEvents())
            count += event.kind == Kind::BallHitWall;
        return count;
    };
    EXPECT_EQ(hits(), 0);
    session.pushBall(BallMaze::Arrow::Left, frontAbove);
    run(20);
    EXPECT_EQ(hits(), 1);
    session.ballToStart();
    EXPECT_EQ(session.takeEvents(), (Events{{Kind::BallReset, 0}}));
    EXPECT_EQ(session.ball().pose(), glm::translate(glm::mat4(1.0f), BallMaze::start));
    run(2 * 64);
    EXPECT_LT(glm::distance(session.ball().centre(), BallMaze::start), 0.5f)
        << "the ball rolled away from its platform";
}

TEST_F(GameSessionTest, AClickGoesToTheOneTargetItHitsFirst) {
    using K = PickTarget::Kind;
    EXPECT_EQ(session.pick(rayAt({0, 30, 0}, {0, 1, 0})), PickTarget{});
    EXPECT_EQ(session.pick(tileRay(4)), (PickTarget{K::TileSlot, 4}));
    EXPECT_EQ(session.pick(riverRay(2, 1)), (PickTarget{K::RiverTarget, 7}));
    // Row 0, column 1 of the flow board: up at the top, one cell towards -z.
    EXPECT_EQ(session.pick(rayAt({1.625f, 1.0f, 0.5f}, {1, 0, 0})), (PickTarget{K::FlowCell, 1}));
    EXPECT_EQ(session.pick(buttonRay), (PickTarget{K::Button, 0}));
    // The ball stands in front of the maze's wall.
    const glm::vec3 ball = BallMaze::start;
    EXPECT_EQ(session.pick(rayAt(ball, {0, 1, 0})), (PickTarget{K::Ball, 0}));
    EXPECT_EQ(session.pick(rayAt(ball + glm::vec3(0.25f, 0, 0), {0, 1, 0})),
              (PickTarget{K::MazeCell, 0}));
    // The front board from the farthest the eye goes, from the near plane.
    EXPECT_EQ(session.pick({{0.0f, 0.0f, 11.9f}, {0, 0, -1}}), (PickTarget{K::TileSlot, 4}));

    // The button presses, but counts only with the four puzzles solved.
    session.click(buttonRay);
    EXPECT_EQ(session.takeEvents(), (Events{{Kind::ButtonPressed, 0}}));
    run(16);
    EXPECT_EQ(session.button().buttonPose(), CubeBottom::buttonPressedPose);
    run(16);
    EXPECT_EQ(session.button().buttonPose(), CubeBottom::buttonRestPose);
    EXPECT_EQ(session.solvedCount(), 0);
    EXPECT_EQ(session.takeEvents(), (Events{{Kind::ButtonReleased}}));

    // A tile that cannot move is heard; red's ends (0, 3) and (2, 0) are
    // joined by the fourth cell of their path.
    session.click(tileRay(0));
    session.click(flowRay(3)); // an end cell
    for (const int k : {0, 1, 2, 5})
        session.click(flowRay(k));
    EXPECT_EQ(session.takeEvents(), (Events{{Kind::TileBlocked, 0},
                                            {Kind::CellChanged, 0},
                                            {Kind::CellChanged, 1},
                                            {Kind::CellChanged, 2},
                                            {Kind::CellChanged, 5},
                                            {Kind::PairJoined, 1}}));
    EXPECT_EQ(session.flow().cells[0], 1);
}

// Hints lead through the tiles, the river after a failure and the flow
// board, each going once its move is made; they count but change nothing;
// the maze's hint names the arrow key as the eye sees it; a solved face,
// the button and the panel say what is left, uncounted; a hint lasts three
// seconds of play.
TEST_F(GameSessionTest, HintsLeadThroughEveryFaceFromWhereItStands) {
    const glm::vec3 front(0.3f, 1.0f, 6.0f), left(-6.0f, 1.0f, 0.5f), right(6.0f, -1.0f, 0.2f);
    int counted = 0;
    const auto follow = [&](const glm::vec3& eye, Hint::Mark mark, const auto& done,
                            const auto& clickOn) {
        for (int k = 0; k < 80 && !done(); ++k) {
            session.showHint(eye);
            ASSERT_TRUE(session.hint());
            ASSERT_EQ(session.hint()->mark, mark) << session.hint()->text;
            ++counted;
            clickOn(Hint(*session.hint())); // a copy: the move ends the hint
            EXPECT_FALSE(session.hint()) << "the hint stayed after its move";
            run(40); // slides and walks play out
        }
        EXPECT_TRUE(done());
    };
    follow(
        front, Hint::Mark::TileSlot, [&] { return session.tiles().solved(); },
        [&](const Hint& hint) { session.click(tileRay(hint.index)); });
    session.click(riverRay(0, 0)); // the bear over leaves the rabbit with the carrot
    session.click(arrowRay);
    run(4 * 64);
    ASSERT_EQ(session.river().rules().boatAtStart, true) << "the crossing did not fail";
    follow(
        left, Hint::Mark::RiverTarget, [&] { return session.river().solved(); },
        [&](const Hint& hint) { session.click(riverRay(hint.index / 3, hint.index % 3)); });
    follow(
        right, Hint::Mark::FlowCell, [&] { return session.flow().solved; },
        [&](const Hint& hint) {
            const std::array<int, flowCellCount> cells = session.flow().cells;
            session.showHint(right); // asked again, it counts and changes nothing
            ++counted;
            EXPECT_EQ(session.flow().cells, cells);
            for (int k = 0; k < 6 && session.hint(); ++k)
                session.click(flowRay(hint.index));
            EXPECT_EQ(session.flow().cells[std::size_t(hint.index)], hint.colour);
        });
    EXPECT_EQ(session.hintsShown(), counted);
    int hintEvents = 0;
    for (const GameEvent& event : session.takeEvents())
        hintEvents += event.kind == Kind::HintShown;
    EXPECT_EQ(hintEvents, counted);

    const std::pair<glm::vec3, const char*> lines[] = {
        {front, "The picture is whole"},
        {right, "Every colour is joined"},
        {{0.0f, -6.0f, 0.5f}, "Solve the maze first"},
        {{0.5f, 1.0f, -6.0f}, "Still to solve: the maze"},
    };
    for (const auto& [eye, text] : lines) {
        session.showHint(eye);
        EXPECT_EQ(session.hint()->text, text);
    }
    EXPECT_EQ(session.hintsShown(), counted);

    // On the top face, from an eye south of the cube, the start's push down
    // the ramp (towards +z) is the Down arrow; from the east, it is Right.
    run(64);
    session.showHint({0.5f, 6.0f, 2.0f});
    EXPECT_EQ(session.hint()->ball, (BallHint{BallHint::Action::Push, {0, 1}}));
    EXPECT_EQ(session.hint()->text, "Press the Down arrow key");
    session.showHint({2.0f, 6.0f, 0.1f});
    EXPECT_EQ(session.hint()->text, "Press the Left arrow key");
    run(int(hintSeconds * 64) - 1);
    EXPECT_TRUE(session.hint());
    run(1);
    EXPECT_FALSE(session.hint());
}
