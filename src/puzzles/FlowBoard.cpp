#include "puzzles/FlowBoard.h"

#include <vector>

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

bool FlowBoard::joined(int colour) const {
    // A flood from the colour's first end cell over its colour.
    int first = -1, second = -1;
    for (int k = 0; k < flowCellCount; ++k)
        if (!editable[k] && cells[k] == colour)
            (first < 0 ? first : second) = k;
    if (first < 0 || second < 0)
        return false;
    std::array<bool, flowCellCount> reached{};
    std::vector<int> frontier{first};
    reached[first] = true;
    while (!frontier.empty()) {
        const int k = frontier.back();
        frontier.pop_back();
        const int row = k / flowBoardCells, column = k % flowBoardCells;
        for (const auto& [dr, dc] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int r = row + dr, c = column + dc;
            const int next = r * flowBoardCells + c;
            if (r < 0 || c < 0 || r >= flowBoardCells || c >= flowBoardCells || reached[next] ||
                cells[next] != colour)
                continue;
            reached[next] = true;
            frontier.push_back(next);
        }
    }
    return reached[second];
}

} // namespace zarn
