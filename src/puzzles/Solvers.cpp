#include "puzzles/Solvers.h"

#include "puzzles/BallMaze.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/RiverCrossing.h"

#include <array>
#include <cmath>
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

namespace {

// Cells as (column, row): a step's x moves along +x, its y along +z.
using CellAt = glm::ivec2;
constexpr CellAt goalCell{10, 10};
constexpr std::array<glm::ivec2, 4> steps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};

bool onBoard(CellAt at) {
    return at.x >= 0 && at.y >= 0 && at.x < BallMaze::side && at.y < BallMaze::side;
}

int cellAt(CellAt at) {
    return BallMaze::map[std::size_t(at.y)][std::size_t(at.x)];
}

// The floor's height at the edge of a cell that faces `step`, or none where
// the ball cannot pass that edge: walls, pits, and a ramp's sides.
std::optional<float> edgeHeight(int cell, glm::ivec2 step) {
    const auto ramp = [](int along, int up) -> std::optional<float> {
        if (along == 0)
            return std::nullopt;
        return along == up ? 2.0f : 1.75f;
    };
    switch (cell) {
    case BallMaze::Floor:
        return 1.75f;
    case BallMaze::Raised:
        return 2.0f;
    case BallMaze::RampUpToMinusZ:
        return ramp(step.y, -1);
    case BallMaze::RampUpToPlusZ:
        return ramp(step.y, 1);
    case BallMaze::RampUpToMinusX:
        return ramp(step.x, -1);
    case BallMaze::RampUpToPlusX:
        return ramp(step.x, 1);
    default:
        return std::nullopt;
    }
}

// Whether the ball rolls from one cell into the next: on the level, or down
// from a raised edge; into the goal pit from the floor.
bool rolls(CellAt from, glm::ivec2 step) {
    const CellAt to = from + step;
    const auto out = edgeHeight(cellAt(from), step);
    if (!onBoard(to) || !out)
        return false;
    if (to == goalCell)
        return *out < 1.8f;
    const auto in = edgeHeight(cellAt(to), -step);
    return in && *in <= *out;
}

// Whether something on the board stops a ball rolling out of a cell: a wall
// or a step up, but not a pit, a drop or the board's edge.
bool stopsAt(CellAt at, glm::ivec2 step) {
    const CellAt beyond = at + step;
    return onBoard(beyond) && cellAt(beyond) != BallMaze::Pit && !rolls(at, step);
}

// The steps of the route with fewest turns, then fewest cells, from a cell
// to the goal; empty when there is none.
std::vector<glm::ivec2> routeToGoal(CellAt from) {
    // Dijkstra over (cell, step index); index 4 is the start, before any step.
    constexpr int turnCost = 1000;
    const auto key = [](CellAt at, int heading) {
        return (at.y * BallMaze::side + at.x) * 5 + heading;
    };
    std::map<int, std::pair<int, int>> cameFrom;  // key -> (cost, previous key)
    using Entry = std::tuple<int, int, int, int>; // cost, column, row, heading
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> frontier;
    cameFrom[key(from, 4)] = {0, -1};
    frontier.push({0, from.x, from.y, 4});
    while (!frontier.empty()) {
        const auto [cost, column, row, heading] = frontier.top();
        frontier.pop();
        const CellAt at{column, row};
        if (cameFrom.at(key(at, heading)).first < cost)
            continue;
        if (at == goalCell) {
            std::vector<glm::ivec2> route;
            for (int k = key(at, heading); cameFrom.at(k).second >= 0; k = cameFrom.at(k).second)
                route.insert(route.begin(), steps[std::size_t(k % 5)]);
            return route;
        }
        for (int next = 0; next < 4; ++next) {
            if (!rolls(at, steps[std::size_t(next)]))
                continue;
            const int nextCost = cost + 1 + (heading != 4 && heading != next ? turnCost : 0);
            const CellAt to = at + steps[std::size_t(next)];
            const auto [it, added] =
                cameFrom.try_emplace(key(to, next), nextCost, key(at, heading));
            if (!added && it->second.first <= nextCost)
                continue;
            it->second = {nextCost, key(at, heading)};
            frontier.push({nextCost, to.x, to.y, next});
        }
    }
    return {};
}

} // namespace

BallHint nextBallPush(const glm::vec3& centre, const glm::vec2& velocity) {
    const CellAt at{int(std::floor((centre.x + 1.5f) / 0.25f)),
                    int(std::floor((centre.z + 1.5f) / 0.25f))};
    if (!onBoard(at) || (!edgeHeight(cellAt(at), {1, 0}) && !edgeHeight(cellAt(at), {0, 1})))
        return {BallHint::Action::LetRoll}; // over a pit or off the board: it falls
    const std::vector<glm::ivec2> route = routeToGoal(at);
    if (route.empty())
        return {BallHint::Action::ToStart};

    const glm::ivec2 step = route.front();
    const glm::vec2 ahead(step), side(-ahead.y, ahead.x);
    const float along = glm::dot(velocity, ahead), across = glm::dot(velocity, side);
    constexpr float rolling = 0.3f; // slower than this counts as at rest
    if (std::abs(across) > rolling)
        return {BallHint::Action::Push, glm::ivec2(across > 0.0f ? -side : side)};
    if (along <= rolling)
        return {BallHint::Action::Push, step};

    // Rolling the right way: on to the leg's last cell, braked there unless
    // a wall stops it.
    std::size_t straight = 0;
    while (straight < route.size() && route[straight] == step)
        ++straight;
    const CellAt turn = at + int(straight) * step;
    const glm::vec3 turnCentre = BallMaze::cellCentre(turn.y, turn.x);
    const float remaining =
        glm::dot(glm::vec2(turnCentre.x, turnCentre.z) - glm::vec2(centre.x, centre.z), ahead);
    if (turn != goalCell && !stopsAt(turn, step) && remaining < 0.125f + 0.1f * along)
        return {BallHint::Action::Push, -step};
    return {BallHint::Action::LetRoll};
}

} // namespace zarn
