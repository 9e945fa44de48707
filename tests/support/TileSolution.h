#pragma once

#include "puzzles/TileGrid.h"

#include <map>
#include <queue>
#include <vector>

namespace zarn::test {

// The clicks of a shortest way from the start to the goal, found by a
// breadth-first search over the rules' own moves.
inline std::vector<TileSlot> shortestTileSolution() {
    std::map<TileArrangement, std::pair<TileArrangement, TileSlot>> cameFrom{
        {startArrangement, {startArrangement, {}}}};
    std::queue<TileGrid> frontier;
    frontier.push(TileGrid{});
    while (!frontier.empty()) {
        const TileGrid grid = frontier.front();
        frontier.pop();
        for (int slot = 0; slot < tileCount; ++slot) {
            TileGrid next = grid;
            const TileSlot click{slot / tileGridSide, slot % tileGridSide};
            if (!next.tryMove(click.row, click.column, true) ||
                !cameFrom.emplace(next.tiles, std::pair{grid.tiles, click}).second)
                continue;
            if (!next.solved) {
                frontier.push(next);
                continue;
            }
            std::vector<TileSlot> clicks;
            for (TileArrangement at = next.tiles; at != startArrangement; at = cameFrom[at].first)
                clicks.insert(clicks.begin(), cameFrom[at].second);
            return clicks;
        }
    }
    return {};
}

} // namespace zarn::test
