#pragma once

#include <array>
#include <optional>

namespace zarn {

// The sliding-picture board: 3 x 3 slots, row 0 at the top, column 0 at the
// left, slot index row * 3 + column. Tile k belongs in slot k and tile 8 is
// the blank, the picture's missing piece; the asset generator cuts the
// picture into tiles by the same numbering.
inline constexpr int tileGridSide = 3;
inline constexpr int tileCount = tileGridSide * tileGridSide;
inline constexpr int blankTile = tileCount - 1;

// Tile numbers by [row][column].
using TileArrangement = std::array<std::array<int, tileGridSide>, tileGridSide>;

inline constexpr TileArrangement goalArrangement{{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}}};
// The blank starts bottom-left. The eight picture tiles have an even number
// of inversions, so the goal can be reached.
inline constexpr TileArrangement startArrangement{{{1, 2, 5}, {4, 6, 3}, {8, 0, 7}}};

struct TileSlot {
    int row = 0;
    int column = 0;
    bool operator==(const TileSlot&) const = default;
};

// The slot holding `tile` in `arrangement` (the first one, row by row).
TileSlot findTile(const TileArrangement& arrangement, int tile);

// A tile slid from its slot into the blank's; the blank took the tile's slot.
struct TileMove {
    int tile = 0;
    TileSlot from;
    TileSlot to;
    bool operator==(const TileMove&) const = default;
};

// The rules of the sliding tiles, from the start arrangement to the goal.
class TileGrid {
public:
    // Slides the tile at (row, column) into the blank's slot when the blank is
    // beside it (neighbours looked at below, right, above, left). Ignored,
    // with no result: while the tweens are busy, once solved, for a slot off
    // the board, for the blank itself and for a tile not beside the blank.
    // The move that completes the picture sets `solved` at once.
    std::optional<TileMove> tryMove(int row, int column, bool tweensIdle);

    TileArrangement tiles = startArrangement;
    bool solved = false;
};

} // namespace zarn
