#include "puzzles/FlowBoard.h"

namespace zarn {

FlowBoard::FlowBoard() {
    for (int k = 0; k < flowCellCount; ++k) {
        cells[k] = flowStartCells[k / flowBoardCells][k % flowBoardCells];
        editable[k] = cells[k] == 0;
    }
}

bool FlowBoard::click(int k) {
    if (solved || k < 0 || k >= flowCellCount || !editable[k])
        return false;
    cells[k] = (cells[k] + 1) % (flowColourCount + 1);
    solved = matchesSolution();
    return true;
}

bool FlowBoard::matchesSolution() const {
    for (int k = 0; k < flowCellCount; ++k)
        if (cells[k] != flowSolution[k / flowBoardCells][k % flowBoardCells])
            return false;
    return true;
}

glm::vec3 flowCellCentre(int k) {
    const int row = k / flowBoardCells;
    const int column = k % flowBoardCells;
    return {1.625f, 1.0f - 0.5f * float(row), 1.0f - 0.5f * float(column)};
}

} // namespace zarn
