#include "puzzles/FlowBoard.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarn;

namespace {

int solutionAt(int k) {
    return flowSolution[k / flowBoardCells][k % flowBoardCells];
}

std::vector<int> editableCells(const FlowBoard& board) {
    std::vector<int> cells;
    for (int k = 0; k < flowCellCount; ++k)
        if (board.editable[k])
            cells.push_back(k);
    return cells;
}

// Clicks an empty editable cell until it holds value.
void clickTo(FlowBoard& board, int k, int value) {
    for (int click = 0; click < value; ++click)
        ASSERT_TRUE(board.click(k)) << "cell " << k;
    ASSERT_EQ(board.cells[k], value);
}

} // namespace

TEST(FlowBoardTest, TheTenEndCellsAreFixedAndTheRestEditable) {
    FlowBoard board;
    const FlowBoard start;
    EXPECT_EQ(editableCells(board).size(), 15u);
    for (int k = 0; k < flowCellCount; ++k) {
        EXPECT_EQ(board.editable[k], board.cells[k] == 0) << "cell " << k;
        if (!board.editable[k]) {
            EXPECT_FALSE(board.click(k)) << "end cell " << k;
        }
    }
    // Off the board, too, nothing happens.
    EXPECT_FALSE(board.click(-1));
    EXPECT_FALSE(board.click(flowCellCount));
    EXPECT_EQ(board.cells, start.cells);
    EXPECT_EQ(board.cells[3], 1); // row 0 ends in colours 1 and 3
    EXPECT_EQ(board.cells[4], 3);
    EXPECT_EQ(board.cells[24], 5);
    EXPECT_FALSE(board.solved);
}

TEST(FlowBoardTest, SixClicksCycleACellThroughEveryColourBackToEmpty) {
    FlowBoard board;
    const FlowBoard start;
    for (int expected : {1, 2, 3, 4, 5, 0}) {
        ASSERT_TRUE(board.click(0));
        EXPECT_EQ(board.cells[0], expected);
    }
    EXPECT_EQ(board.cells, start.cells) << "a click changed another cell";
}

TEST(FlowBoardTest, AWrongColourInAnyCellKeepsItUnsolved) {
    for (const int wrong : editableCells(FlowBoard{})) {
        FlowBoard board;
        for (const int k : editableCells(board))
            clickTo(board, k, k == wrong ? (solutionAt(k) % 5) + 1 : solutionAt(k));
        EXPECT_FALSE(board.solved) << "cell " << wrong << " wrong";
        EXPECT_FALSE(board.matchesSolution());
        // The one missing click mends it.
        int clicks = 0;
        while (board.cells[wrong] != solutionAt(wrong) && clicks++ < 6)
            board.click(wrong);
        EXPECT_TRUE(board.solved) << "cell " << wrong;
    }
}

TEST(FlowBoardTest, TheLastMatchingClickSolvesAndThenNothingChanges) {
    FlowBoard board;
    // Back to front, with one detour through every colour and empty first.
    std::vector<int> cells = editableCells(board);
    for (int click = 0; click < 6; ++click)
        board.click(cells.front());
    for (auto k = cells.rbegin(); k != cells.rend(); ++k) {
        EXPECT_FALSE(board.solved);
        clickTo(board, *k, solutionAt(*k));
    }
    EXPECT_TRUE(board.solved);
    EXPECT_TRUE(board.matchesSolution());

    const auto solvedCells = board.cells;
    for (int k = 0; k < flowCellCount; ++k)
        EXPECT_FALSE(board.click(k)) << "cell " << k;
    EXPECT_EQ(board.cells, solvedCells);
    EXPECT_TRUE(board.solved);
}
