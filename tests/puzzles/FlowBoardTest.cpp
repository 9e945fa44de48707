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

// The ten end cells are fixed, the rest cycle through the five colours and
// back to empty, one cell per click.
TEST(FlowBoardTest, EndCellsAreFixedAndTheOthersCycleThroughEveryColour) {
    FlowBoard board;
    const FlowBoard start;
    EXPECT_EQ(editableCells(board).size(), 15u);
    for (int k = 0; k < flowCellCount; ++k) {
        if (!board.editable[k]) {
            EXPECT_FALSE(board.click(k)) << "end cell " << k;
        }
    }
    EXPECT_FALSE(board.click(-1));
    EXPECT_FALSE(board.click(flowCellCount));
    for (int expected : {1, 2, 3, 4, 5, 0}) {
        ASSERT_TRUE(board.click(0));
        EXPECT_EQ(board.cells[0], expected);
    }
    EXPECT_EQ(board.cells, start.cells);
}

TEST(FlowBoardTest, AWrongColourInAnyCellKeepsItUnsolved) {
    for (const int wrong : editableCells(FlowBoard{})) {
        FlowBoard board;
        for (const int k : editableCells(board))
            clickTo(board, k, k == wrong ? (solutionAt(k) % 5) + 1 : solutionAt(k));
        EXPECT_FALSE(board.solved) << "cell " << wrong << " wrong";
        // The missing clicks mend it, and then no click changes anything.
        while (board.cells[wrong] != solutionAt(wrong))
            board.click(wrong);
        EXPECT_TRUE(board.solved) << "cell " << wrong;
    }
    FlowBoard solved;
    for (const int k : editableCells(solved))
        clickTo(solved, k, solutionAt(k));
    const auto cells = solved.cells;
    for (int k = 0; k < flowCellCount; ++k)
        EXPECT_FALSE(solved.click(k)) << "cell " << k;
    EXPECT_EQ(solved.cells, cells);
}
