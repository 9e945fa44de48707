#include "puzzles/Solvers.h"

#include "puzzles/FlowBoard.h"
#include "puzzles/RiverCrossing.h"

#include <map>
#include <queue>
#include <tuple>

namespace zarn {

std::vector<TileSlot> shortestTileSolution(const TileArrangement& from) {
    if (from == goalArrangement)
        return {};
    std::map<TileArrangement, std::pair<TileArrangement, TileSlot>> cameFrom{{from, {from, {}}}};
    std::queue<TileGrid> frontier;
    frontier.push(TileGrid{from, false});
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
            for (TileArrangement at = next.tiles; at != from; at = cameFrom[at].first)
                clicks.insert(clicks.begin(), cameFrom[at].second);
            return clicks;
        }
    }
    return {};
}

namespace {

// What a river state is made of, without its message.
auto riverKey(const RiverCrossing& rules) {
    std::array<std::pair<int, int>, 3> figures;
    for (int i = 0; i < 3; ++i)
        figures[std::size_t(i)] = {rules.figures[std::size_t(i)].place,
                                   rules.figures[std::size_t(i)].lane};
    return std::tuple(figures, rules.boatAtStart, rules.boatLoaded, rules.solved);
}

} // namespace

std::optional<RiverClick> nextRiverClick(const RiverCrossing& rules) {
    if (rules.solved)
        return std::nullopt;
    // Breadth first over clicks that change something and never fail; each
    // state remembers the first click on its way.
    using Key = decltype(riverKey(rules));
    std::map<Key, RiverClick> firstClick;
    std::queue<RiverCrossing> frontier;
    firstClick.emplace(riverKey(rules), RiverClick{});
    frontier.push(rules);
    while (!frontier.empty()) {
        const RiverCrossing state = frontier.front();
        frontier.pop();
        const bool start = riverKey(state) == riverKey(rules);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) {
                RiverCrossing next = state;
                next.message.clear();
                if (next.play(row, column, false) == RiverCrossing::Move::None ||
                    !next.message.empty())
                    continue;
                const RiverClick click =
                    start ? RiverClick{row, column} : firstClick.at(riverKey(state));
                if (next.solved)
                    return click;
                if (firstClick.emplace(riverKey(next), click).second)
                    frontier.push(next);
            }
    }
    return std::nullopt;
}

std::optional<FlowCellHint> nextFlowCell(const FlowBoard& board) {
    if (board.solved)
        return std::nullopt;
    for (int k = 0; k < flowCellCount; ++k) {
        const int wanted =
            flowSolution[std::size_t(k / flowBoardCells)][std::size_t(k % flowBoardCells)];
        if (board.editable[std::size_t(k)] && board.cells[std::size_t(k)] != wanted)
            return FlowCellHint{k, wanted};
    }
    return std::nullopt;
}

} // namespace zarn
