#include "puzzles/Solvers.h"

#include "puzzles/BallMaze.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/RiverCrossing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace zarn;

// From arrangements a player reaches by random slides, the answer is a way
// to the picture that the rules accept move by move.
TEST(SolversTest, TheTileAnswerFinishesThePictureFromAnywhere) {
    std::mt19937 random(3);
    for (int game = 0; game < 20; ++game) {
        TileGrid grid;
        for (int slide = 0; slide < 40; ++slide) {
            const int slot = int(random() % tileCount);
            grid.tryMove(slot / tileGridSide, slot % tileGridSide, true);
        }
        if (grid.solved)
            continue;
        for (const TileSlot& click : shortestTileSolution(grid.tiles))
            ASSERT_TRUE(grid.tryMove(click.row, click.column, true)) << "game " << game;
        EXPECT_TRUE(grid.solved) << "game " << game;
    }
    EXPECT_TRUE(shortestTileSolution(goalArrangement).empty());
}

// Following the river's answer click by click gets everyone across without
// a failure in seven crossings: from the start, halfway, and after a failure.
TEST(SolversTest, TheRiverAnswerCrossesSafelyFromAnywhere) {
    const auto follow = [](RiverCrossing rules) {
        int crossings = 0, clicks = 0;
        while (const auto click = nextRiverClick(rules)) {
            rules.message.clear();
            const RiverCrossing::Move move = rules.play(click->row, click->column, false);
            EXPECT_NE(move, RiverCrossing::Move::None);
            EXPECT_EQ(rules.message, "");
            crossings += move == RiverCrossing::Move::Cross;
            if (++clicks > 40)
                break;
        }
        EXPECT_TRUE(rules.solved);
        return crossings;
    };
    RiverCrossing start;
    EXPECT_EQ(follow(start), 7);

    RiverCrossing halfway; // the rabbit across, the boat back
    for (const auto& [row, column] : {std::pair{1, 0}, {1, 1}, {2, 1}, {1, 1}})
        halfway.play(row, column, false);
    ASSERT_EQ(halfway.figures[RiverCrossing::rabbit].place, RiverCrossing::farBank);
    EXPECT_EQ(follow(halfway), 5);

    RiverCrossing failed; // the bear over leaves the rabbit with the carrot
    for (const auto& [row, column] : {std::pair{0, 0}, {1, 1}})
        failed.play(row, column, false);
    ASSERT_NE(failed.message, "");
    EXPECT_EQ(follow(failed), 7);
}

// The flow answer points at each wrong cell with its right colour, until the
// board is solved.
TEST(SolversTest, TheFlowAnswerNamesEachWrongCellWithItsColour) {
    FlowBoard board;
    board.click(0);
    board.click(0); // the top-left cell wants colour 1 and now holds 2
    EXPECT_EQ(nextFlowCell(board), (FlowCellHint{0, 1}));
    int clicks = 0;
    while (const auto hint = nextFlowCell(board)) {
        ASSERT_TRUE(board.editable[std::size_t(hint->cell)]);
        while (board.cells[std::size_t(hint->cell)] != hint->colour && clicks < 500) {
            board.click(hint->cell);
            ++clicks;
        }
        ASSERT_LT(clicks, 500);
    }
    EXPECT_TRUE(board.solved);
}

namespace {

using Action = BallHint::Action;

// A ball resting at the centre of cell (row, column).
glm::vec3 restingAt(int row, int column) {
    return BallMaze::cellCentre(row, column);
}

} // namespace

// At rest, the ball's answers lead from the start over the ramp, the raised
// row and the board's east column into the goal, turning only where the
// maze makes it, into the goal from its east; from the pockets that drops leave, the answer is to
// start again, and every other open cell leads to the goal.
TEST(SolversTest, TheBallAnswerLeadsToTheGoalOrBackToTheStart) {
    const auto follow = [](int row, int column) {
        std::string turns;
        for (int moves = 0; moves < 60; ++moves) {
            if (glm::ivec2(column, row) == glm::ivec2(10, 10))
                return turns;
            const BallHint hint = nextBallPush(restingAt(row, column), glm::vec2(0.0f));
            if (hint.action != Action::Push)
                return turns.append("!");
            const char heading = hint.direction.x > 0   ? 'E'
                                 : hint.direction.x < 0 ? 'W'
                                 : hint.direction.y > 0 ? 'S'
                                                        : 'N';
            if (turns.empty() || turns.back() != heading)
                turns += heading;
            column += hint.direction.x, row += hint.direction.y;
        }
        return turns.append("?");
    };
    EXPECT_EQ(follow(1, 1), "SESESW");
    std::string pockets;
    for (int row = 0; row < BallMaze::side; ++row)
        for (int column = 0; column < BallMaze::side; ++column) {
            const int cell = BallMaze::map[std::size_t(row)][std::size_t(column)];
            if (cell == BallMaze::Wall || cell == BallMaze::Pit)
                continue;
            const std::string turns = follow(row, column);
            if (turns == "!")
                pockets += std::to_string(row * 100 + column) + " ";
            else
                EXPECT_NE(turns.back(), '!') << row << ", " << column << ": " << turns;
            EXPECT_NE(turns.back(), '?') << row << ", " << column << ": " << turns;
        }
    EXPECT_EQ(pockets, "908 1004 1005 1007 1008 1105 "); // row * 100 + column
    EXPECT_EQ(nextBallPush(restingAt(10, 8), glm::vec2(0.0f)).action, Action::ToStart);
}

// A rolling ball is braked across its way first, left to roll on to a wall
// that stops it, and braked before a turn that nothing stops it at.
TEST(SolversTest, TheBallAnswerMindsTheSpeed) {
    const glm::vec3 inRow6 = restingAt(6, 3); // the route runs east to the wall
    EXPECT_EQ(nextBallPush(inRow6, {0.0f, -1.0f}), (BallHint{Action::Push, {0, 1}}));
    EXPECT_EQ(nextBallPush(inRow6, {1.5f, 0.1f}), (BallHint{Action::LetRoll}));
    EXPECT_EQ(nextBallPush(inRow6, {-0.8f, 0.0f}), (BallHint{Action::Push, {1, 0}}));
    // Row 8 runs east to the board's open edge, where the route turns south.
    EXPECT_EQ(nextBallPush(restingAt(8, 6), {1.5f, 0.0f}), (BallHint{Action::LetRoll}));
    EXPECT_EQ(nextBallPush(restingAt(8, 10), {1.5f, 0.0f}), (BallHint{Action::Push, {-1, 0}}));
    EXPECT_EQ(nextBallPush(BallMaze::cellCentre(10, 10), {0.0f, -0.5f}).action, Action::LetRoll);
}
