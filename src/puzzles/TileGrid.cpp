#include "puzzles/TileGrid.h"

#include <utility>

namespace zarn {

namespace {

bool onBoard(int row, int column) {
    return row >= 0 && row < tileGridSide && column >= 0 && column < tileGridSide;
}

} // namespace

TileSlot findTile(const TileArrangement& arrangement, int tile) {
    for (int row = 0; row < tileGridSide; ++row)
        for (int column = 0; column < tileGridSide; ++column)
            if (arrangement[row][column] == tile)
                return {row, column};
    return {};
}

std::optional<TileMove> TileGrid::tryMove(int row, int column, bool tweensIdle) {
    if (!tweensIdle || solved || !onBoard(row, column) || tiles[row][column] == blankTile)
        return std::nullopt;

    constexpr std::array<TileSlot, 4> steps{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
    for (const TileSlot& step : steps) {
        const TileSlot blank{row + step.row, column + step.column};
        if (!onBoard(blank.row, blank.column) || tiles[blank.row][blank.column] != blankTile)
            continue;
        const TileMove move{tiles[row][column], {row, column}, blank};
        std::swap(tiles[row][column], tiles[blank.row][blank.column]);
        solved = tiles == goalArrangement;
        return move;
    }
    return std::nullopt;
}

} // namespace zarn
