#include "puzzles/Solvers.h"

#include "puzzles/FlowBoard.h"
#include "puzzles/RiverCrossing.h"

#include <gtest/gtest.h>

#include <random>

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
