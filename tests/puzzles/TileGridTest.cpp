#include "puzzles/TileGrid.h"

#include "puzzles/Solvers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarn;

TEST(TileGridTest, IgnoresTheBlankANonNeighbourADiagonalBusyTweensAndSlotsOffTheBoard) {
    TileGrid grid;
    ASSERT_EQ(findTile(grid.tiles, blankTile), (TileSlot{2, 0}));
    // Off-board slots beside the blank (row 3, column -1) must not reach it.
    for (const TileSlot& click : {TileSlot{2, 0}, TileSlot{0, 0}, TileSlot{2, 2}, TileSlot{1, 1},
                                  TileSlot{3, 0}, TileSlot{2, -1}, TileSlot{-1, 0}}) {
        EXPECT_FALSE(grid.tryMove(click.row, click.column, true))
            << "click at " << click.row << ", " << click.column;
    }
    EXPECT_FALSE(grid.tryMove(1, 0, false)) << "moved while the tweens were busy";
    EXPECT_EQ(grid.tiles, startArrangement);
    EXPECT_FALSE(grid.solved);
}

TEST(TileGridTest, ATileSlidesIntoTheBlankFromEachSideAndItsReverseRestoresTheGrid) {
    TileGrid grid;
    ASSERT_EQ(grid.tryMove(1, 0, true), (TileMove{4, {1, 0}, {2, 0}}));
    EXPECT_EQ(grid.tiles[2][0], 4);
    EXPECT_EQ(grid.tiles[1][0], blankTile);
    // The tile's old slot now holds the blank: clicking it does nothing.
    EXPECT_FALSE(grid.tryMove(1, 0, true));
    ASSERT_TRUE(grid.tryMove(1, 1, true)); // the blank is now in the centre
    EXPECT_FALSE(grid.solved);

    // The centre's four neighbours slide up, left, down and right into it.
    const TileGrid centred = grid;
    for (const TileSlot& from : {TileSlot{2, 1}, TileSlot{1, 2}, TileSlot{0, 1}, TileSlot{1, 0}}) {
        grid = centred;
        const int tile = grid.tiles[from.row][from.column];
        EXPECT_EQ(grid.tryMove(from.row, from.column, true), (TileMove{tile, from, {1, 1}}));
        EXPECT_EQ(grid.tiles[1][1], tile);
        EXPECT_EQ(grid.tryMove(1, 1, true), (TileMove{tile, {1, 1}, from}));
        EXPECT_EQ(grid.tiles, centred.tiles) << "from " << from.row << ", " << from.column;
    }
}

// A breadth-first search over the rules' own moves: the start is solvable,
// at best in 14 moves, and the last of them sets `solved` as it is made.
TEST(TileGridTest, TheStartIsSolvedInFourteenMovesAtBestAndTheLastMoveEndsThePuzzle) {
    const std::vector<TileSlot> clicks = shortestTileSolution(startArrangement);
    ASSERT_EQ(clicks.size(), 14u);

    TileGrid grid;
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_FALSE(grid.solved) << "before move " << i;
        ASSERT_TRUE(grid.tryMove(clicks[i].row, clicks[i].column, true)) << "move " << i;
    }
    EXPECT_TRUE(grid.solved);
    EXPECT_EQ(grid.tiles, goalArrangement);
    // Tiles 5 and 7 sit beside the blank, but a solved puzzle takes no move.
    EXPECT_FALSE(grid.tryMove(1, 2, true));
    EXPECT_FALSE(grid.tryMove(2, 1, true));
    EXPECT_EQ(grid.tiles, goalArrangement);
}
